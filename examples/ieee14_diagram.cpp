#include "ieee14_diagram.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "branch_data.h"
#include "bus.h"
#include "cdf_host_records.h"
#include "element_factory.h"
#include "element_key.h"
#include "generator.h"
#include "load.h"
#include "power_system.h"
#include "shunt.h"

namespace {

namespace BD = BranchData;

// Where a bus's bar stands (its top end) and where its tool is clicked for
// each one-port it carries. A one-port clicked left of a bar hangs on its
// right, one clicked right of it on its left, one clicked on the bar's
// lower end hangs below it.
struct BusPlace {
    int number;
    Point top;
    int length;
    Point generator;
    Point load;
    Point shunt;
};

// The case's classic picture: the 33 kV network above, the 132 kV network
// below, the transformers between them.
const BusPlace kBuses[] = {
    {1, {80, 640}, 60, {85, 670}, {}, {}},
    {2, {420, 700}, 80, {420, 780}, {425, 765}, {}},
    {3, {900, 700}, 60, {900, 760}, {895, 725}, {}},
    {4, {900, 500}, 80, {}, {895, 545}, {}},
    {5, {200, 500}, 80, {}, {205, 530}, {}},
    {6, {200, 300}, 80, {205, 320}, {205, 360}, {}},
    {7, {1030, 300}, 60, {}, {}, {}},
    {8, {1180, 300}, 60, {1175, 330}, {}, {}},
    {9, {850, 300}, 60, {}, {855, 350}, {850, 360}},
    {10, {600, 300}, 60, {}, {595, 345}, {}},
    {11, {400, 300}, 60, {}, {395, 345}, {}},
    {12, {200, 100}, 60, {}, {205, 140}, {}},
    {13, {450, 100}, 60, {}, {445, 145}, {}},
    {14, {850, 100}, 60, {}, {845, 130}, {}},
};

// Each branch's path: it starts on the from bus's bar, bends at the points
// between, and ends on the to bus's bar.
struct BranchPath {
    int from;
    int to;
    std::vector<Point> path;
};

const BranchPath kBranches[] = {
    {1, 2, {{80, 690}, {420, 730}}},
    {1, 5, {{80, 645}, {200, 575}}},
    {2, 3, {{420, 745}, {900, 745}}},
    {2, 4, {{420, 715}, {900, 570}}},
    {2, 5, {{420, 700}, {200, 560}}},
    {3, 4, {{900, 700}, {900, 580}}},
    {4, 5, {{900, 510}, {200, 510}}},
    {4, 7, {{900, 520}, {1030, 520}, {1030, 360}}},
    {4, 9, {{900, 500}, {900, 350}, {850, 350}}},
    {5, 6, {{200, 500}, {200, 380}}},
    {6, 11, {{200, 340}, {400, 340}}},
    {6, 12, {{200, 300}, {200, 160}}},
    {6, 13, {{200, 310}, {450, 160}}},
    {7, 8, {{1030, 330}, {1180, 330}}},
    {7, 9, {{1030, 320}, {850, 320}}},
    {9, 10, {{850, 310}, {600, 310}}},
    {9, 14, {{850, 300}, {850, 160}}},
    {10, 11, {{600, 320}, {400, 320}}},
    {12, 13, {{200, 110}, {450, 110}}},
    {13, 14, {{450, 120}, {850, 120}}},
};

// The case gives no nominal voltages; its names mark the voltage level.
double NominalKv(const std::string& level) { return level == "HV" ? 132.0 : 33.0; }

const BusPlace& PlaceOf(int number) {
    for (const BusPlace& place : kBuses) {
        if (place.number == number) return place;
    }
    throw std::runtime_error("the layout has no place for bus " + std::to_string(number));
}

const BranchPath& PathOf(int from, int to) {
    for (const BranchPath& branch : kBranches) {
        if (branch.from == from && branch.to == to) return branch;
    }
    throw std::runtime_error("the layout has no path for the branch " + std::to_string(from) + "-" +
                             std::to_string(to));
}

// An element of the class made as its tool makes it at the point, filed
// in the model.
IElement& Make(PowerSystem& model, int classType, Point at, int flag = 0) {
    std::unique_ptr<IElement> prototype = StandardElementFactory().Make(classType);
    std::unique_ptr<IElement> element =
        prototype->CreateNew(&model, model.NewKey(prototype->GetType(false), false), at, flag);
    if (!element || !model.AddElement(element.get())) throw std::runtime_error("an element was not filed");
    return *element.release();
}

// A line or transformer drawn from its first point through its bends to
// its last point, which lies on the to bus.
IElement& Draw(PowerSystem& model, int classType, const std::vector<Point>& path) {
    IElement& element = Make(model, classType, path.front());
    for (std::size_t i = 1; i < path.size(); ++i) {
        element.DragHandle(4, 0, path[i]);
        element.DragHandle(0, 0, path[i]);
    }
    const auto& ends = element.GetEndKeys();
    if (ends[0] <= 0 || ends[1] <= 0) {
        throw std::runtime_error("the branch drawn from (" + std::to_string(path.front().x) + ", " +
                                 std::to_string(path.front().y) + ") does not reach a bus at both ends");
    }
    return element;
}

// The name ("Bus 1") and the voltage level ("HV") of a case name
// "Bus 1     HV".
std::pair<std::string, std::string> SplitName(const std::string& caseName) {
    const std::size_t levelAt = caseName.find_last_of(' ');
    if (levelAt == std::string::npos) return {caseName, ""};
    std::string name = caseName.substr(0, levelAt);
    name.erase(name.find_last_not_of(' ') + 1);
    return {name, caseName.substr(levelAt + 1)};
}

void AddGenerator(PowerSystem& model, const BusRecord& r, const BusPlace& place) {
    // The case's generators that schedule no MW are synchronous condensers.
    const int type = r.generationP != 0.0 ? ElementType::Generator : ElementType::SyncCompensator;
    IElement& generator = Make(model, type, place.generator);
    double* v = generator.GetValues();
    v[Generator::kP] = r.generationP;
    v[Generator::kQ] = r.generationQ;
    v[Generator::kQMin] = r.minQ;
    v[Generator::kQMax] = r.maxQ;
    generator.UpdateResultLabel(nullptr);
}

void AddLoad(PowerSystem& model, const BusRecord& r, const BusPlace& place) {
    IElement& load = Make(model, ElementType::Load, place.load);
    double* v = load.GetValues();
    v[Load::kP] = v[Load::kPConstantPower] = r.loadP;
    v[Load::kQ] = v[Load::kQConstantPower] = r.loadQ;
    load.UpdateResultLabel(nullptr);
}

void AddShunt(PowerSystem& model, const BusRecord& r, const BusPlace& place) {
    int type = ElementType::Shunt;
    if (r.shuntG == 0.0) type = r.shuntB > 0.0 ? ElementType::Capacitor : ElementType::Reactor;
    IElement& shunt = Make(model, type, place.shunt);
    double* v = shunt.GetValues();
    // The case gives p.u. on the MVA base; the shunt holds MW and Mvar at
    // 1 p.u.
    v[Shunt::kP] = r.shuntG * model.GetMvaBase();
    v[Shunt::kQ] = r.shuntB * model.GetMvaBase();
    shunt.UpdateResultLabel(nullptr);
}

void AddBus(PowerSystem& model, const BusRecord& r, std::vector<IElement*>& buses) {
    const BusPlace& place = PlaceOf(r.number);
    auto bus = std::make_unique<Bus>(&model, model.NewKey(Category::Bus, false), place.top, true);
    if (!model.AddElement(bus.get())) throw std::runtime_error("a bus was not filed");
    Bus& filed = *bus.release();
    auto [name, level] = SplitName(r.name);
    filed.SetName(name);
    filed.SetLength(place.length);
    filed.RecalcGeometry();
    // The voltage label goes below the lengthened bar.
    filed.GetLabel(1)->SetPosition({place.top.x - 20, place.top.y + place.length + 3});
    double* v = filed.GetValues();
    v[Bus::kNominalKv] = NominalKv(level);
    v[Bus::kVoltage] = v[Bus::kDesiredVoltage] = r.voltage;
    v[Bus::kAngle] = r.angle;
    if (r.generationP != 0.0 || r.kind != 1) AddGenerator(model, r, place);
    if (r.loadP != 0.0 || r.loadQ != 0.0) AddLoad(model, r, place);
    if (r.shuntG != 0.0 || r.shuntB != 0.0) AddShunt(model, r, place);
    // Set last: attaching a generator makes a load bus a generator bus.
    v[Bus::kKind] = r.kind;
    filed.UpdateResultLabel(nullptr);
    buses.push_back(&filed);
}

void AddBranch(PowerSystem& model, const BranchRecord& r) {
    const bool transformer = r.kind == BranchRecord::Transformer;
    IElement& branch = Draw(model, transformer ? ElementType::Transformer : ElementType::PowerLine,
                            PathOf(r.fromBus, r.toBus).path);
    double* v = branch.GetValues();
    v[BD::kResistance] = r.resistance;
    v[BD::kReactance] = r.reactance;
    v[BD::kSusceptance] = r.chargingB;
    if (transformer) {
        // The off-nominal tap sits on the from winding.
        const double* from = branch.FindElement(branch.GetEndKeys()[0])->GetValues();
        const double* to = branch.FindElement(branch.GetEndKeys()[1])->GetValues();
        const double tap = r.fromWindingKv / r.fromBaseKv;
        v[BD::kTapRatio] = tap;
        v[BD::kFromTapKv] = tap * from[Bus::kNominalKv];
        v[BD::kToTapKv] = to[Bus::kNominalKv];
    } else {
        v[BD::kLength] = 1.0;  // so the per-km values are the branch's own
    }
    branch.UpdateResultLabel(nullptr);
}

}  // namespace

void DrawIeee14Diagram(PowerSystem& model, const std::string& casePath) {
    CdfConversion conversion;
    conversion.reactiveLimits = true;
    const HostNetwork network = LoadCdfAsHostRecords(casePath, conversion);
    if (network.buses.size() != std::size(kBuses) || network.branches.size() != std::size(kBranches)) {
        throw std::runtime_error(casePath + " is not the 14-bus case");
    }
    std::vector<IElement*> buses;
    for (const BusRecord& r : network.buses) AddBus(model, r, buses);
    for (const BranchRecord& r : network.branches) AddBranch(model, r);
    model.SetDiagramSize({1400, 900});
}
