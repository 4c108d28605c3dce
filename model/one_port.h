#pragma once

#include <memory>
#include <span>
#include <string>

#include "ee_element.h"
#include "element_type.h"

// An element that hangs from one bus: a short connection line runs from the
// bus (end 0, which carries the bus key, 0 while unconnected) to the
// element's symbol (end 1, never connected: its key is -1). Generators,
// compensators, loads, shunts and the switched banks build on it. It
// connects end 0 to the bus under it, follows its bus when the bus moves,
// and keeps which way its symbol faces.
class OnePortElement : public EEElement {
public:
    // The one-port symbols carry a 4 by 4 square at each end when selected.
    static constexpr int kEndMarkHalf = 2;

    ~OnePortElement() override = default;

    // The kind's value array and the label-shown flags.
    void GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) override;
    double* GetValues() final { return ValueArray().data(); }
    // A copy under a new key of the same class, connected to nothing and
    // moved by the owner's duplication step.
    std::unique_ptr<IElement> Duplicate(bool forClipboard) override;
    // The base block, then the faces-left byte.
    void Serialize(Archive& archive) override;
    // Connects a free end 0 to the bus under it; the bus may change its kind.
    bool AutoConnect() override;
    // The bus with the key moved by delta: end 0 follows, and so does the
    // symbol unless this element is itself part of the moved selection.
    void MoveEndAttachedTo(int key, Point delta) override;
    void Move(int dx, int dy, bool withConnected) override;
    // 0 inside the body (edges included), else the squared distance to the
    // body's centre, which is the nearest point.
    int HitTestBody(Point point, Point& nearest) override;
    // Body, shown labels and both ends, grown by 30.
    Rect CalcBoundingRect() override;
    // Those of the bus while on and attached; else 0.
    double GetVoltageIndex() const override;
    double GetBaseVoltage() const override;

    bool FacesLeft() const { return facesLeft_; }

protected:
    // A new one-port at the point, both ends there, end 1 never connected.
    OnePortElement(PowerSystem* owner, int key, Point at, int category);
    // An empty one-port that an archive fills.
    explicit OnePortElement(int category);

    // The kind's own value array.
    virtual std::span<double> ValueArray() = 0;

    // The bus at end 0 while this element is on; null when none.
    IElement* AttachedBus() const;
    // The per-unit voltage (value 1) of the bus at end 0 while this element
    // is on; nothing when it has none.
    bool BusVoltage(double& v) const;
    // The name of the bus at end 0, "" when there is none.
    std::string BusName() const;
    // Hands the command to the remote solver when this document is a remote
    // copy.
    void SendWhenRemote(const std::string& command);
    // Answers GetFlowAtEnd with the injection (MW, Mvar) into the bus at
    // end 0; an element out of service injects nothing, whatever its last
    // result was. False for a key other than the bus's.
    bool InjectionAtEnd(int key, double injectedP, double injectedQ, double& p, double& q, bool& pending) const;
    // Sets label 0's text.
    void SetResultText(const std::string& text);
    // Writes or reads the one-port block (the base and the faces-left byte).
    void SerializeOnePort(Archive& archive);
    // The 4 by 4 squares at both ends of a selected element.
    void DrawEndMarks(DrawingContext& dc);

    bool facesLeft_ = false;
};
