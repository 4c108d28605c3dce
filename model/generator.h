#pragma once

#include <array>
#include <memory>
#include <string>

#include "one_port.h"

// A generator on a bus: its scheduled and solved output, its limits and its
// share of a load increase, one result label, and a circle with "G". The bus
// sums these values into its solver record and writes the solved output
// back. The synchronous compensator and the static var compensator are
// generators that give reactive power only.
class Generator : public OnePortElement {
public:
    // The value array: index and meaning, MW and Mvar.
    enum Value : int {
        kP = 0,
        kQ = 1,
        kQMin = 2,
        kQMax = 3,
        kPMin = 4,
        kPMax = 5,
        // 6 to 12 are kept and archived; nothing computes with them.
        kGenerationShare = 13,  // share in a continuation's generation increase
        kValueCount = 14
    };

    // A new generator at the point, connected to the bus under it, with the
    // default values and its label.
    Generator(PowerSystem* owner, int key, Point at, int flag);
    // An empty generator that an archive fills.
    Generator();

    int GetElementType() const override { return ElementType::Generator; }
    void UpdateResultLabel(const double* values) override;
    // "CHANGE GENERATOR=<bus> PG= <MW>" to the remote solver.
    void SendChangeCommand() override;
    // The injection into the bus at end 0.
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    bool CheckLimits(std::string& text) override;
    // Where Q lies in its band: 0.5 in the middle, 1 at a limit.
    double GetLoadingIndex() const override;
    void Serialize(Archive& archive) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void RecalcGeometry() override;
    void DrawSymbol(DrawingContext& dc) override;

    // The outline and the letters of the kind inside the body.
    virtual void DrawLetter(DrawingContext& dc);

protected:
    std::span<double> ValueArray() override { return values_; }
    // Generator kinds differ in the category, the default P and whether
    // they give active power at all.
    Generator(PowerSystem* owner, int key, Point at, int category, double defaultP);
    explicit Generator(int category);

    // Compensators give no active power: P is held at 0.
    virtual bool GivesActivePower() const { return true; }
    // Both reactive limit checks, with the kind's texts; false within them.
    bool CheckReactiveLimits(std::string& text, const char* const (&texts)[4]);
    // The generator texts of the reactive limits.
    static const char* const kGeneratorReactiveTexts[4];
    // The letters drawn centred in the body.
    void DrawCentredText(DrawingContext& dc, const char* letters);
    // The bus at end 0 has lost its voltage control: a generator bus whose
    // voltage is no longer within 0.5 % of its set point.
    bool BusLostVoltageControl() const;

    std::array<double, kValueCount> values_{};
};

// A synchronous compensator: reactive power only, "SC" in its circle.
class SyncCompensator : public Generator {
public:
    SyncCompensator(PowerSystem* owner, int key, Point at, int flag);
    SyncCompensator();

    int GetElementType() const override { return ElementType::SyncCompensator; }
    // "CHANGE SYNCHCOMP=<bus> QCOMP= <Mvar>" to the remote solver.
    void SendChangeCommand() override;
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    // The reactive limits only, with the compensator's texts.
    bool CheckLimits(std::string& text) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawLetter(DrawingContext& dc) override;

protected:
    bool GivesActivePower() const override { return false; }
};

// A static var compensator: reactive power only, "SVC" in a square.
class VarCompensator : public Generator {
public:
    VarCompensator(PowerSystem* owner, int key, Point at, int flag);
    VarCompensator();

    int GetElementType() const override { return ElementType::VarCompensator; }
    // No command: the generator's would set the generator of the bus to
    // 0 MW, and the remote solver knows no other for a var compensator.
    void SendChangeCommand() override {}
    // The reactive limits only: it has no active output to check.
    bool CheckLimits(std::string& text) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawLetter(DrawingContext& dc) override;

protected:
    bool GivesActivePower() const override { return false; }
};
