#pragma once

#include <memory>
#include <optional>
#include <string>

#include "power_line.h"

// A fixed-tap transformer: a two-port on the line's path, ends and data
// record, filed with the lines, with a fifth label showing its turns ratio
// and a two-circle symbol placed along its first path segment. Its limits
// are in MVA: rating = rated power, notification limit likewise.
class Transformer : public PowerLine {
public:
    // Where the symbol starts along the first path segment, as a fraction.
    static constexpr double kDefaultSymbolPosition = 0.1;

    Transformer(PowerSystem* owner, int key, Point at);
    // An empty transformer that an archive fills.
    Transformer();

    int GetElementType() const override { return ElementType::Transformer; }
    int GetBranchKind() const override { return BranchData::kFixedTransformer; }

    // Appends a label at the point, hidden.
    void AddLabel(Point at);
    // Label 4 beside the symbol's circles.
    void PlaceRatioLabel();
    Point GetFirstCircleCentre() const { return circleCentres_[0]; }
    Point GetSecondCircleCentre() const { return circleCentres_[1]; }

    void UpdateResultLabel(const double* values) override;
    bool CheckLimits(std::string& text) override;
    bool IsOverLimit() const override;
    double GetLoadingIndex() const override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void CreateLabels(Point anchor) override;
    bool AutoConnect() override;
    void RecalcGeometry() override;
    void DrawSymbol(DrawingContext& dc) override;
    void Serialize(Archive& archive) override;

protected:
    // In the nominal-voltage colour map, the to winding is drawn in the
    // colour of the to side's voltage level: the pen it takes, when it does.
    std::optional<LogPen> WindingPen();
    // The larger apparent power of the two ends, MVA.
    double LargerMva() const { return std::max(FromMva(), ToMva()); }

private:
    // The symbol along the first path segment; nothing when that segment
    // is too short to carry it.
    struct Symbol {
        Point lineEnd;  // where the line from node 0 stops
        Point resume;   // where the line to node 1 starts again
        Point centres[2];
    };
    std::optional<Symbol> PlaceSymbol() const;
    void DrawRegulationArrow(DrawingContext& dc) const;

    double symbolPosition_ = kDefaultSymbolPosition;
    Point circleCentres_[2] = {{-1, -1}, {-1, -1}};
};

// A regulating transformer: a transformer whose tap or shift the solver
// moves to hold a voltage or a flow; drawn with a regulation arrow across
// its symbol.
class RegulatedTransformer : public Transformer {
public:
    using Transformer::Transformer;

    int GetElementType() const override { return ElementType::RegulatedTransformer; }
    int GetBranchKind() const override { return BranchData::kRegulatingTransformer; }
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
};
