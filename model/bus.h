#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ee_element.h"
#include "element_type.h"

// A bus bar of the one-line diagram: the node of the network to which lines,
// transformers, one-ports and switches attach. It keeps its own electrical
// values, the keys of what is attached to it (in the order of attaching,
// duplicates allowed) and two labels, name and voltage. For the solver it
// sums what its attached elements contribute into one bus record.
class Bus : public EEElement {
public:
    // The value array: index and meaning.
    enum Value : int {
        kNominalKv = 0,   // kV
        kVoltage = 1,     // p.u., solved
        kAngle = 2,       // degrees, solved
        kDesiredVoltage = 3,
        kKind = 4,        // the bus record's kind code
        kMinVoltage = 5,  // p.u. (a network equivalent: Q injection, Mvar)
        kMaxVoltage = 6,  // p.u. (a network equivalent: P injection, MW)
        kSpareValue = 7,
        kRegulatedBusKey = 8,
        kRegulationShare = 9,
        kValueCount = 10
    };
    // Bus record kinds that the bus itself sets.
    static constexpr int kSwingKind = 0;
    static constexpr int kLoadKind = 1;
    static constexpr int kGeneratorKind = 4;
    static constexpr int kBankKind = 7;
    static constexpr int kDefaultLength = 40;

    // A new bar whose top (vertical) or left end lies at the point.
    Bus(PowerSystem* owner, int key, Point at, bool vertical);
    // An empty bus that an archive fills.
    Bus();
    // Every attached element lets go of the bus.
    ~Bus() override;

    int GetElementType() const override { return ElementType::Bus; }
    void SetName(std::string_view name) override;
    void UpdateResultLabel(const double* values) override;
    void GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) override;
    double* GetValues() override { return values_.data(); }
    bool FillSolverRecord(SolverRecord record, char mode) override;
    bool WriteCDFCard(std::string& card, int* flags) override;
    bool CheckLimits(std::string& text) override;
    bool IsOverLimit() const override;
    double GetBaseVoltage() const override { return values_[kNominalKv]; }
    double GetVoltageIndex() const override;
    // Every attached element takes the flag; so does the bus.
    void SetOn(bool on) override;
    void SetLength(int length) override;
    int GetLength() const override { return length_; }

    std::unique_ptr<IElement> Duplicate(bool forClipboard) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void RemapConnections(const IElement& source, const std::map<int, int>& newKeys) override;

    // The buses at the far ends of the attached lines and transformers.
    void GetConnectedElements(std::vector<IElement*>& out) override;
    bool HasFreeEnd() const override { return true; }
    bool AutoConnect() override;
    void MoveEndAttachedTo(int, Point) override {}
    bool ConnectAtPoint(int key, const Point* point) override;
    void RemoveConnection(int key) override;
    void DisconnectAll() override;
    void DetachFromNeighbours() override;
    int SnapToEnd(Point point, Point& snapped) override;

    void RecalcGeometry() override;
    int HitTestBody(Point point, Point& nearest) override;
    void MoveConnectedElements(int dx, int dy) override;
    bool DragHandle(int kind, int handle, Point delta) override;

    void DrawSymbol(DrawingContext& dc) override;
    void Serialize(Archive& archive) override;

    // The first attached generator or synchronous compensator that is on
    // takes P (MW) and Q (Mvar); false when there is none.
    virtual bool SetConnectedGeneration(double p, double q);
    // An element of the class type was attached: generators make a load
    // bus a generator bus, variable banks make it a bank bus.
    virtual void AdjustBusKind(int classType);

    const std::vector<int>& GetKeyList() const { return keys_; }
    // Attached lines and transformers that are on.
    int CountLinesOn();
    // Direction shares handed back for the bus: the generator's share when
    // the record has generation, the load's two shares when it has load.
    void ApplyShares(const BusRecord& shares);
    // Marks the flow of every attached switch known or unknown.
    void ResetSwitchFlows(bool known);
    // One pass of the flow balance of a bus group: when exactly one attached
    // switch has an unknown flow, it takes the sum of the others. False when
    // more than one is unknown.
    bool BalanceSwitchFlow();
    bool IsVertical() const { return vertical_ != 0; }

protected:
    // The element of the model attached under the key; null when it is gone.
    IElement* Attached(int key) const;
    // The bar's centre line.
    Point BarStart() const;
    Point BarEnd() const;
    // The solved voltage label's text.
    std::string VoltageText() const;
    // Copy made for Duplicate, placed at `at` before the duplication step.
    std::unique_ptr<IElement> DuplicateAt(bool forClipboard, Point at);
    // Attaches every free line end on the box, moving it to the point that
    // `target` picks for it.
    bool ConnectFreeEnds(const Rect& box, const std::function<Point(Point)>& target);
    // Writes or reads the bus's data after the base block, without labels.
    void SerializeBusData(Archive& archive);
    // The stubs to the attached elements and the selected bar's end marks.
    void DrawStubs(DrawingContext& dc);

    int length_ = kDefaultLength;
    std::array<double, kValueCount> values_{};
    std::vector<int> keys_;
    bool spare_ = false;
    int vertical_ = 1;
};

// The same bar laid from left to right.
class HorizontalBus : public Bus {
public:
    HorizontalBus(PowerSystem* owner, int key, Point at) : Bus(owner, key, at, false) {}
    HorizontalBus() { vertical_ = 0; }

    int GetElementType() const override { return ElementType::HorizontalBus; }
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
};
