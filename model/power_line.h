#pragma once

#include <memory>
#include <string>
#include <vector>

#include "branch_data.h"
#include "ee_element.h"
#include "element_type.h"
#include "primitive_line.h"

// A transmission line, and the base of every element that joins two
// buses: transformers, switches and connectors use its path and ends. It is
// drawn as a polyline (its path) from end 0, the from bus, to end 1, the to
// bus. A line carries its branch data record (parameters and last results,
// see BranchData) and four labels: name, from-side flow, to-side flow, and
// loss or loading. Label flag 3 set to 2 shows the loading instead of the
// loss.
class PowerLine : public EEElement {
public:
    // Labels by index.
    enum Label : int { kNameLabel = 0, kFromLabel = 1, kToLabel = 2, kLossLabel = 3, kRatioLabel = 4 /* transformers */ };
    // Label flag 3 with this value shows the loading.
    static constexpr std::uint8_t kShowLoading = 2;

    // A new line drawn from `at`: attached to a bus lying there, with the
    // line defaults (1 km, R 0.1, X 0.3 per km, 1000 A rating, 900 A
    // notification), its path open for drawing.
    PowerLine(PowerSystem* owner, int key, Point at) : PowerLine(owner, key, at, ElementType::PowerLine) {}
    // An empty line that an archive fills.
    PowerLine();

    int GetElementType() const override { return ElementType::PowerLine; }
    // 0 line, 1 fixed-tap transformer, 2 regulating transformer: chooses the
    // archive tail, the solver record's kind and the properties dialog.
    virtual int GetBranchKind() const { return BranchData::kLine; }

    // Sets the key at end 0 or end 1; any other index changes nothing.
    // Answers the index.
    int SetEndKey(int index, int key);
    const PrimitiveLine& GetPath() const { return path_; }
    PrimitiveLine& GetPath() { return path_; }

    // --- Values, results and the solver ---
    void UpdateResultLabel(const double* values) override;
    void GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) override;
    double* GetValues() override { return data_.empty() ? nullptr : data_.data(); }
    // "CHANGE LINENAME=..." with the tap ratio, to the remote solver.
    void SendChangeCommand() override;
    bool FillSolverRecord(SolverRecord record, char mode) override;
    bool WriteCDFCard(std::string& card, int* flags) override;
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    bool CheckLimits(std::string& text) override;
    bool IsOverLimit() const override;
    double GetBaseVoltage() const override;
    double GetLoadingIndex() const override;
    double GetVoltageIndex() const override;

    // --- Copies and dialogs ---
    std::unique_ptr<IElement> Duplicate(bool forClipboard) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    bool ShowProperties() override;
    void CreateLabels(Point anchor) override;

    // --- Ends, geometry and moving ---
    bool HasFreeEnd() const override;
    bool AutoConnect() override;
    void MoveEndAttachedTo(int key, Point delta) override;
    void SetConnectionPoint(Point point, bool end1) override;
    void SyncEndsFromPath() override;
    int SnapToEnd(Point point, Point& snapped) override;
    int GetNodeCount() const override { return path_.GetNodeCount(); }
    Rect CalcBoundingRect() override;
    void RecalcGeometry() override;
    bool HitTest(Point point) override;
    int HitTestBody(Point point, Point& nearest) override;
    void Move(int dx, int dy, bool withConnected) override;
    bool DragHandle(int kind, int handle, Point delta) override;

    void DrawSymbol(DrawingContext& dc) override;
    void Serialize(Archive& archive) override;

protected:
    // Steps shared by every two-port: the element at `at` filed under
    // `category`. Lines and transformers get their labels, a bus at the
    // point and the line defaults; switches and free lines do the rest
    // themselves.
    PowerLine(PowerSystem* owner, int key, Point at, int category);

    // The switching kinds (category 20): one label, no flow labels at the
    // ends.
    bool IsSwitchingKind() const;
    // The value of the data record; 0 without one.
    double Value(int index) const;
    // The bus's (base kV, voltage p.u.) at the end; false when the end holds
    // no key or its key names no element with values.
    bool EndBusValues(int end, double& kv, double& voltage) const;
    // The current at a branch end, A: MVA at the bus's voltage (p.u. times
    // kV); 0 when that is not above 0.
    static double EndCurrent(double p, double q, double voltage, double kv);
    // What every branch record tells of its ends: the names and numbers of
    // the end buses, their base kV (`kv`), the key, and the reserved ints
    // zeroed. Both ends must name elements of the model.
    void FillBranchEnds(BranchRecord& record, const double (&kv)[2]) const;
    // The elements at both ends, when both are found.
    bool ConnectedPair(IElement*& first, IElement*& second);
    // Apparent power, MVA, at the from and the to end.
    double FromMva() const;
    double ToMva() const;
    // Writes one result label's text.
    void SetLabelText(int index, const std::string& text);
    // Moves label `index` by delta, when it exists.
    void MoveLabel(int index, Point delta);
    // Places the labels at the midpoint of the ends after an end connected.
    void PlaceLabelsAtMidpoint();

    PrimitiveLine path_;
    // The branch data record (BranchData, 26 values; the switching kinds
    // keep their own six). Empty until CreateLabels makes it.
    std::vector<double> data_;
    // Set while Move runs: the ends then ignore MoveEndAttachedTo.
    bool moving_ = false;
};
