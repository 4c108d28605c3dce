#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "solution_values.h"
#include "solver.h"

// The exchange with the host: its bus and branch records become the
// solver's network, and the solved network goes back as records through
// the result cursor. Records carry MW, Mvar, kV and degrees; the model holds
// per unit on 100 MVA and radians.

namespace {

constexpr double kSqrt3 = 1.7320508075688772;
// Steps of one switched bank, the first block included: far more than any
// bank has, and few enough that a wrong count cannot exhaust the memory.
constexpr long long kMaxBankSteps = 1000;

// The name the solver keeps for a record bus: at most 11 characters, or
// "Group" and the low 24 bits of the key for a bus without a name.
std::string RecordName(const BusRecord& record) {
    if (record.name) return std::string(record.name, strnlen(record.name, 11));
    return "Group" + std::to_string(record.key & 0xFFFFFF);
}

[[noreturn]] void Reject(Solver& solver, const BusRecord& record, const char* reason) {
    std::fprintf(solver.Diagnostics(), "Bus record %d (%s): %s\n", record.number, RecordName(record).c_str(), reason);
    solver.Abort(1);
}

[[noreturn]] void Reject(Solver& solver, const BranchRecord& record, const char* reason) {
    std::fprintf(solver.Diagnostics(), "Branch record %d-%d: %s\n", record.fromBus, record.toBus, reason);
    solver.Abort(1);
}

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Every value the solver reads from a bus record is a number: a NaN or an
// infinity would pass every comparison and end in a solution of NaNs.
bool BusValuesFinite(const BusRecord& r) {
    const double* d = r.direction;
    return AllFinite({r.generationP, r.generationQ, r.loadP, r.loadQ, r.voltage, r.angle, r.baseKv, r.maxP, r.maxQ,
                      r.minQ, r.regulatedBaseKv, r.participation, r.maxVoltage, r.minVoltage, r.shuntG, r.shuntB,
                      r.firstBankBlock, r.generationShare, r.pLoadShare, r.qLoadShare, d[0], d[1], d[2], d[3], d[4],
                      d[5]});
}

bool BranchValuesFinite(const BranchRecord& r) {
    return AllFinite({r.lowerLimit, r.upperLimit, r.fromBaseKv, r.toBaseKv, r.rating, r.regulatedBaseKv, r.phaseShift,
                      r.resistance, r.reactance, r.chargingB, r.shuntG, r.tapSide, r.fromWindingKv, r.toWindingKv,
                      r.controlTarget, r.bandMinimum, r.bandMaximum});
}

// The leading printable characters of the record's circuit field, at most
// three; anything else in the field is not text the host wrote.
std::string CircuitText(const BranchRecord& record) {
    std::string text;
    for (char c : record.circuit) {
        if (text.size() == 3 || c < 0x20 || c > 0x7E) break;
        text += c;
    }
    return text;
}

// An angle brought within -pi..pi by whole turns.
double WrapAngle(double angle) {
    double magnitude = std::fabs(angle);
    double sign = angle < 0.0 ? -1.0 : 1.0;
    if (magnitude > kTwoPi) angle -= sign * kTwoPi * std::floor(magnitude / kTwoPi);
    if (std::fabs(angle) > kPi) angle -= sign * kTwoPi;
    return angle;
}

// Current in A at a branch end from its flow in p.u.; 0 without a base voltage.
double EndCurrent(double p, double q, double voltage, double baseKv, double mvaBase) {
    if (baseKv <= 0.0 || voltage <= 0.0) return 0.0;
    return std::sqrt(p * p + q * q) / voltage * mvaBase * 1000.0 / (baseKv * kSqrt3);
}

// The area's number as the card formats name areas: upper-case hex, at
// least three digits (as "%03X" writes it, without formatting per bus).
std::string AreaCode(int area) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char reversed[sizeof(unsigned) * 2];
    int count = 0;
    for (unsigned value = static_cast<unsigned>(area); value != 0 || count < 3; value >>= 4) {
        reversed[count++] = kDigits[value & 0xF];
    }
    return std::string(std::make_reverse_iterator(reversed + count), std::make_reverse_iterator(reversed));
}

}  // namespace

void Solver::ReadHostNetwork() {
    if (!source_) {
        std::fprintf(diagnostics_, "No network records were handed to the solver\n");
        Abort(1);
    }
    Network& network = *network_;
    mvaBase_ = 100.0;
    recordBuses_.Clear();

    // Buses that a regulating generator named before their own record came.
    std::vector<NetBus*> forwardReferences;
    source_->SetTable(IRecordCursor::BusTable, 0);
    // The host's cursor answers its number of records: the buses' block and
    // the look-up table are sized once instead of growing through every
    // doubling.
    if (const int records = source_->MoveFirst(); records > 0) {
        network.buses.Reserve(static_cast<std::size_t>(records));
        recordBuses_.Reserve(static_cast<std::size_t>(records));
    }
    for (BusRecord record; source_->Next(record); record = BusRecord{}) ReadBusRecord(record, forwardReferences);
    if (network.slackCount == 0 && sink_)
        sink_->AddMessage(IMessageSink::Failure, "There is no SLACK bus defined in the system! Please define one!");

    source_->SetTable(IRecordCursor::BranchTable, 0);
    if (const int records = source_->MoveFirst(); records > 0) network.branches.Reserve(static_cast<std::size_t>(records));
    for (BranchRecord record; source_->Next(record); record = BranchRecord{}) ReadBranchRecord(record);

    // The three groups of branches are numbered apart: plain, P/Q-regulating
    // and voltage-regulating.
    network.branchCount -= network.regulatingCount;
    network.regulatingCount -= network.voltageRegulatingCount;
    iterationLimit_ = 100;
}

// A bus named by the host: the bus with that external number, or a new one
// at the tail of the list, numbered in turn.
NetBus* Solver::FindOrAddRecordBus(int number, double baseKv) {
    if (NetBus* bus = RecordBus(number)) return bus;
    NetBus* bus = AddBus("", baseKv, ListEnd::Tail);
    bus->number = ++network_->busCount;
    bus->externalNumber = number;
    if (number != 0) recordBuses_.Set(number, bus);
    return bus;
}

// Looked up by hash: a linear search per record would make reading a large
// network quadratic in its size.
NetBus* Solver::RecordBus(int number) const {
    return number != 0 ? recordBuses_.Find(number) : nullptr;
}

void Solver::ReadBusRecord(const BusRecord& record, std::vector<NetBus*>& forwardReferences) {
    if (!BusValuesFinite(record)) Reject(*this, record, "a value that is not a finite number");
    NetBus& bus = RecordBusOf(record, forwardReferences);
    ReadBusValues(bus, record);
    switch (record.kind) {
    case 0: ReadSlackBus(bus, record); break;
    case 1:
        // A bus already held by remote generators keeps its voltage held.
        if (bus.code != "BC") bus.voltageFree = true;
        break;
    case 2: bus.code = "BC"; break;
    case 3: bus.code = "BT"; break;
    case 4:
        ReadGeneratorBus(bus);
        ReadReactiveLimits(bus, record);
        break;
    case 5:
        ReadGeneratorBus(bus);
        bus.maxQ = kUnlimited;
        bus.minQ = -kUnlimited;
        break;
    case 6: ReadScheduledQBus(bus, record); break;
    case 7: ReadBankBus(bus, record); break;
    case 8: ReadRemoteGenerator(bus, record, forwardReferences); break;
    default: Reject(*this, record, "unknown bus kind");
    }
}

// The bus of the record: a new one at the head of the list, numbered in
// turn, or one that a regulating generator named before its own record
// came, which the record completes in place.
NetBus& Solver::RecordBusOf(const BusRecord& record, std::vector<NetBus*>& forwardReferences) {
    const std::string name = RecordName(record);
    NetBus* bus = RecordBus(record.number);
    if (!bus) {
        bus = AddBus(name, record.baseKv, ListEnd::Head);
        bus->number = ++network_->busCount;
        bus->externalNumber = record.number;
        if (record.number != 0) recordBuses_.Set(record.number, bus);
        return *bus;
    }
    auto forward = std::find(forwardReferences.begin(), forwardReferences.end(), bus);
    if (forward == forwardReferences.end()) Reject(*this, record, "its number is already used by another bus");
    forwardReferences.erase(forward);
    if (record.kind != 1 && record.kind != 2)
        Reject(*this, record, "a bus whose voltage generators regulate cannot be of this kind");
    bus->name = name;
    bus->baseKv = record.baseKv;
    return *bus;
}

// What every kind of bus takes from its record.
void Solver::ReadBusValues(NetBus& bus, const BusRecord& record) {
    const double base = mvaBase_;
    bus.key = record.key;
    bus.kind = record.kind;
    bus.areaCode = AreaCode(record.area);
    // The record's load-increase values are the load polynomial's
    // coefficients.
    for (std::size_t i = 0; i < bus.loadPolynomial.size(); ++i) bus.loadPolynomial[i] = record.direction[i] / base;
    bus.voltage = record.voltage > 0.0 ? record.voltage : 1.0;
    bus.voltageTarget = bus.voltage;
    bus.angle = record.angle * degreesToRadians_;
    bus.loadP = record.loadP / base;
    bus.loadQ = record.loadQ / base;
    bus.scheduledP = record.kind == 0 ? 0.0 : record.generationP / base;
    bus.generationQ = record.kind == 0 ? 0.0 : record.generationQ / base;
    bus.shuntG = record.shuntG;
    bus.shuntB = record.shuntB;
    double maxP = record.maxP / base;
    if (maxP == 0.0 || maxP < bus.scheduledP) maxP = kUnlimited;
    bus.maxP = maxP;
    bus.maxPCopy = maxP;
}

void Solver::ReadReactiveLimits(NetBus& bus, const BusRecord& record) {
    bus.maxQ = record.maxQ / mvaBase_;
    bus.minQ = record.minQ / mvaBase_;
    if (bus.minQ >= bus.maxQ) Reject(*this, record, "its reactive limits are not ordered");
}

void Solver::ReadVoltageLimits(NetBus& bus, const BusRecord& record) {
    bus.maxVoltage = record.maxVoltage > 0.0 ? record.maxVoltage : 2.0;
    bus.minVoltage = record.minVoltage > 0.0 ? record.minVoltage : 0.5;
    if (bus.maxVoltage <= bus.minVoltage) Reject(*this, record, "its voltage limits are not ordered");
}

// Kind 0: voltage and angle held.
void Solver::ReadSlackBus(NetBus& bus, const BusRecord& record) {
    bus.control = 'V';
    ++network_->slackCount;
    bus.generationQ = 0.0;
    network_->referenceAngle = 0.0;
    bus.code = "BS";
    ReadReactiveLimits(bus, record);
}

// Kinds 4 and 5: a generator holding its voltage, with reactive limits from
// its record or without.
void Solver::ReadGeneratorBus(NetBus& bus) {
    ++network_->generatorBusCount;
    bus.generationQ = 0.0;
    bus.code = "BQ";
    bus.control = 'V';
}

// Kind 6: scheduled reactive power within voltage limits.
void Solver::ReadScheduledQBus(NetBus& bus, const BusRecord& record) {
    bus.code = "BV";
    bus.scheduledQ = bus.generationQ;
    bus.control = 'Q';
    ReadVoltageLimits(bus, record);
    bus.voltageFree = true;
    bus.maxQ = kUnlimited;
    bus.minQ = -kUnlimited;
}

// Kind 7: voltage held by a switched bank, while bank switching is on.
void Solver::ReadBankBus(NetBus& bus, const BusRecord& record) {
    const double base = mvaBase_;
    ReadVoltageLimits(bus, record);
    bus.voltageFree = true;
    if (!switches_.bankSwitching || bus.code != "B") return;
    ++network_->bankBusCount;
    bus.code = "BX";
    bus.EditExtras().bankBus = &bus;  // the bank of its own record
    bus.voltage = 1.0;
    bus.control = 'X';
    if (!record.bankBlocks || record.bankBlockCount < 1) Reject(*this, record, "its switched bank has no steps");
    if (record.bankBlockCount > kMaxBankSteps) Reject(*this, record, "its switched bank has too many blocks");
    // Counted before anything is allocated, in a type that cannot overflow
    // at the bound.
    long long steps = 1;
    for (int i = 1; i < record.bankBlockCount; ++i) {
        const int count = record.bankBlocks[i].count;
        if (count < 0) Reject(*this, record, "a block of its switched bank has a negative count");
        if (!std::isfinite(record.bankBlocks[i].mvar))
            Reject(*this, record, "a block of its switched bank is not a finite number");
        steps += count;
        if (steps > kMaxBankSteps) Reject(*this, record, "its switched bank has too many steps");
    }
    if (record.bankStep < 0 || record.bankStep > steps)
        Reject(*this, record, "the present step of its switched bank lies outside its steps");
    // The first block is switched in; the list's first pair is not used.
    std::vector<double>& bankSteps = bus.EditExtras().bankSteps;
    bankSteps.reserve(static_cast<std::size_t>(steps));
    bankSteps.assign(1, record.firstBankBlock / base);
    for (int i = 1; i < record.bankBlockCount; ++i) {
        const BankBlock& block = record.bankBlocks[i];
        bankSteps.insert(bankSteps.end(), static_cast<std::size_t>(block.count), block.mvar / base);
    }
    bus.EditExtras().bankStepCount = static_cast<int>(bankSteps.size());
    bus.extras().bankBus->shuntB += record.firstBankBlock / base;
}

// Kind 8: a generator regulating a remote bus, which may come before its
// own record.
void Solver::ReadRemoteGenerator(NetBus& bus, const BusRecord& record, std::vector<NetBus*>& forwardReferences) {
    ++network_->generatorBusCount;
    bus.generationQ = 0.0;
    bus.code = "BG";
    bus.control = 'V';
    ReadReactiveLimits(bus, record);
    if (record.regulatedBus == 0) Reject(*this, record, "it names no regulated bus");
    NetBus* regulated = RecordBus(record.regulatedBus);
    if (!regulated) {
        regulated = FindOrAddRecordBus(record.regulatedBus, record.regulatedBaseKv);
        forwardReferences.push_back(regulated);
    }
    if (regulated->code == "B")
        regulated->code = "BC";
    else if (regulated->code != "BC")
        Reject(*this, record, "its regulated bus holds its voltage otherwise");
    ++regulated->EditExtras().regulatingGeneratorCount;
    regulated->voltageFree = false;
    bus.EditExtras().participation = record.participation > 0.0 ? record.participation * 0.01 : 1.0;
    if (network_->remoteVoltageSums) {
        regulated->EditExtras().sumMaxQ += bus.maxQ;
        regulated->EditExtras().sumMinQ += bus.minQ;
    }
    bus.EditExtras().remoteBus = regulated;
    bus.voltageFree = true;
}

void Solver::ReadBranchRecord(const BranchRecord& record) {
    Network& network = *network_;
    const double base = mvaBase_;
    if (record.kind < BranchRecord::Line || record.kind > BranchRecord::RegulatingTransformer)
        Reject(*this, record, "unknown branch kind");
    if (!BranchValuesFinite(record)) Reject(*this, record, "a value that is not a finite number");
    if (record.fromBus == 0 || record.toBus == 0) Reject(*this, record, "a bus number of 0");
    if (record.fromBaseKv <= 0.0 || record.toBaseKv <= 0.0) Reject(*this, record, "a base voltage of 0");
    NetBus* from = FindOrAddRecordBus(record.fromBus, record.fromBaseKv);
    NetBus* to = FindOrAddRecordBus(record.toBus, record.toBaseKv);
    if (from == to) Reject(*this, record, "both ends at one bus");

    const double r = record.resistance;
    const double x = record.reactance;
    if (std::fabs(r) < 0.0001 && std::fabs(x) < 0.0001) Reject(*this, record, "no impedance");
    const double z2 = r * r + x * x;
    if (!std::isfinite(r / z2) || !std::isfinite(x / z2) || (r / z2 == 0.0 && x / z2 == 0.0))
        Reject(*this, record, "an admittance that is not a finite number other than 0");

    // Every record is a branch of its own: parallel lines keep their own
    // impedance and key.
    NetBranch* branch = FindOrAddBranch(from, to, Search::No, "", '1');
    branch->key = record.key;
    branch->kind = record.kind;
    branch->g = r / z2;
    branch->b = -x / z2;
    const bool transformer = record.kind != BranchRecord::Line;
    if (transformer) {
        // The whole shunt, both halves of it, sits at the to end.
        branch->toShuntG = record.shuntG;
        branch->toShuntB = record.chargingB;
        branch->shift = record.phaseShift * degreesToRadians_;
        if (record.toWindingKv > 0.0) {
            double toRatio = record.toWindingKv / record.toBaseKv;
            double fromRatio = record.fromWindingKv > 0.0 ? record.fromWindingKv / record.fromBaseKv : 1.0;
            branch->tap = toRatio / fromRatio;
            branch->nominalRatio = toRatio;
        }
        branch->rating = record.rating / base;
    } else {
        branch->fromShuntG = branch->toShuntG = record.shuntG / 2.0;
        branch->fromShuntB = branch->toShuntB = record.chargingB / 2.0;
        // A line's rating comes in A at the from bus's voltage.
        branch->rating = record.rating / (base * 1000.0 / (kSqrt3 * record.fromBaseKv));
    }
    branch->tag = CircuitText(record);
    branch->owner = "  ";
    ++network.branchCount;
    branch->meteredBus = record.endCode == 1 ? to : from;

    if (record.kind == BranchRecord::RegulatingTransformer)
        ReadRegulation(record, *branch);
    else
        // Built from a string: assigning the literal trips a false -Wrestrict
        // in GCC 12 at -O2.
        branch->code = std::string(record.kind == BranchRecord::Line ? "L" : "T");
}

// A regulating transformer: its controlled bus, its limits and its target.
// Tap limits come in kV of the tapped winding, shift limits in degrees.
void Solver::ReadRegulation(const BranchRecord& record, NetBranch& branch) {
    Network& network = *network_;
    const double base = mvaBase_;
    ++network.regulatingCount;
    NetRegulation& regulation = branch.EditRegulation();
    if (record.regulatedBus == 0) Reject(*this, record, "it names no regulated bus");
    NetBus* regulated = FindOrAddRecordBus(record.regulatedBus, record.regulatedBaseKv);
    const int type = record.controlType;
    if (type < BranchRecord::Voltage || type > BranchRecord::ActiveBand) Reject(*this, record, "unknown control type");

    static const char* const kCodes[] = {"R", "RQ", "RN", "RP", "RM"};
    branch.code = kCodes[type];
    if (type <= BranchRecord::ReactiveBand) {
        if (record.lowerLimit <= 0.0 || record.upperLimit <= 0.0) Reject(*this, record, "a tap limit of 0 or less");
        const bool tapOnTo = record.tapSide >= 1.0;
        const double winding = tapOnTo ? record.toBaseKv : record.fromBaseKv;
        double maxTap = record.upperLimit / winding;
        double minTap = record.lowerLimit / winding;
        if (maxTap <= minTap) Reject(*this, record, "its tap limits are not ordered");
        if (tapOnTo) {
            // A tap on the to winding divides the ratio: the limits swap.
            double f = record.fromWindingKv > 0.0 ? record.fromWindingKv / record.fromBaseKv : 1.0;
            double newMax = f / minTap;
            minTap = f / maxTap;
            maxTap = newMax;
        } else {
            double n = record.toWindingKv > 0.0 ? record.toBaseKv / record.toWindingKv : 1.0;
            maxTap *= n;
            minTap *= n;
        }
        regulation.controlMax = maxTap;
        regulation.controlMin = minTap;
    } else {
        regulation.controlMin = record.lowerLimit * degreesToRadians_;
        regulation.controlMax = record.upperLimit * degreesToRadians_;
        if (regulation.controlMin >= regulation.controlMax) Reject(*this, record, "its shift limits are not ordered");
    }

    if (type == BranchRecord::Voltage) {
        ++network.voltageRegulatingCount;
        if (regulated->code == "B") regulated->code = "BT";
        LinkBranch(regulated->regulatingBranches, &branch);
        regulation.regulatedBus = regulated;
        return;
    }
    if (type == BranchRecord::ReactiveFlow || type == BranchRecord::ActiveFlow) {
        regulation.controlTarget = record.controlTarget / base;
    } else {
        regulation.bandMin = record.bandMinimum / base;
        regulation.bandMax = record.bandMaximum / base;
        if (regulation.bandMin >= regulation.bandMax) Reject(*this, record, "its flow band is not ordered");
    }
    // A flow is measured at one end of the branch itself.
    NetBus* controlled = (regulated == branch.from || regulated == branch.to) ? regulated : branch.from;
    regulation.regulatedBus = controlled;
    regulation.regulatedPosition = controlled->controllingBranchCount++;
    LinkBranch(controlled->regulatingBranches, &branch);
}

// The load-increase direction of a continuation run, read from the bus
// records a second time: generation shares the slack's power, loads grow at
// constant power.
void Solver::ReadStressDirection() {
    Network& network = *network_;
    mvaBase_ = 100.0;
    const bool perArea = network.areas.size() >= 2 && switches_.areaControl;
    double sum = 0.0;
    double loadTotal = 0.0;

    source_->SetTable(IRecordCursor::BusTable, 0);
    source_->MoveFirst();
    for (BusRecord record; source_->Next(record); record = BusRecord{}) {
        if (!BusValuesFinite(record)) Reject(*this, record, "a value that is not a finite number");
        double generation = record.generationP * record.generationShare * 0.01;
        double pLoad = record.loadP * record.pLoadShare * 0.01;
        double qLoad = record.loadQ * record.qLoadShare * 0.01;
        double maxP = record.maxP * 0.01;
        NetBus* bus = RecordBus(record.number);
        if (!bus) Reject(*this, record, "no such bus in the network");
        if (maxP > 0.0 && maxP > bus->scheduledP) bus->maxP = maxP;
        bus->generationDirection = generation;
        bus->loadModelP.baseDirection = pLoad;
        bus->loadModelQ.baseDirection = qLoad;
        bus->loadModelP.impedanceDirection = 0.0;
        bus->loadModelQ.impedanceDirection = 0.0;
        if (perArea && bus->area)
            bus->area->directionSum += generation * generation;
        else
            sum += generation * generation;
        // Magnitudes: a load that grows and one that shrinks as much still
        // make a direction.
        loadTotal += std::fabs(pLoad) + std::fabs(qLoad);
    }

    NormaliseGenerationDirections(sum);
    RequireLoadDirection(loadTotal);
    SettleLoadModels();
}

// Restores a stored operating point, record by record in bus-list order.
bool Solver::ReadBusState(IRecordCursor* state) {
    if (!state || !network_ || failed_) return false;
    mvaBase_ = 100.0;
    const double base = mvaBase_;
    state->SetTable(IRecordCursor::BusTable, 0);
    state->MoveFirst();
    // All records first: a state with a value that is not a number changes
    // nothing.
    std::vector<BusRecord> records;
    for (BusRecord record; records.size() < network_->buses.size() && state->Next(record); record = BusRecord{}) {
        if (!AllFinite({record.voltage, record.angle, record.loadP, record.loadQ, record.generationP,
                        record.generationQ}))
            return false;
        records.push_back(record);
    }
    bool read = false;
    std::size_t next = 0;
    for (const auto& owned : network_->buses) {
        read = next < records.size();
        if (!read) break;
        const BusRecord& record = records[next++];
        NetBus& bus = *owned;
        bus.voltage = record.voltage;
        bus.angle = record.angle * degreesToRadians_;
        // What a step added to the load is taken back from everything the
        // solves draw with.
        SetBusLoad(bus, record.loadP / base, record.loadQ / base);
        bus.scheduledP = record.generationP / base;
        bus.generationP = bus.scheduledP;
        bus.generationQ = record.generationQ / base;
        // The restored generation holds the slack's share in full: the
        // slack powers start again from 0, or the next solve would add them
        // a second time.
        bus.slackPower = 0.0;
        bus.areaPower = 0.0;
    }
    return read;
}

void Solver::WriteBusResult(NetBus& bus, BusRecord& record) {
    mvaBase_ = 100.0;
    const double base = mvaBase_;
    record = BusRecord{};
    record.number = bus.number;
    record.key = bus.key;
    record.kind = bus.kind;
    record.voltage = bus.voltage;
    record.name = bus.name.c_str();
    bus.angle = WrapAngle(bus.angle);
    record.angle = bus.angle / degreesToRadians_;
    const double v = bus.voltage;
    record.loadP = LoadAt(bus.loadModelP, v, lambda_) * base;
    record.loadQ = LoadAt(bus.loadModelQ, v, lambda_) * base;
    record.generationP = bus.generationP * base;
    record.generationQ = bus.generationQ * base;
    record.shuntQ = v * v * bus.shuntB * base;
    const NetBusExtras& bank = bus.extras();
    const int steps = static_cast<int>(bank.bankSteps.size());
    if (steps >= 2 && bank.bankStep > 0 && bank.bankStep < steps) record.bankStep = bank.bankStep;
}

// Flows into the branch at each end, MW and Mvar, with the tap t on the from
// side and the shift p.
void Solver::WriteBranchResult(const NetBranch& branch, BranchRecord& record) {
    mvaBase_ = 100.0;
    const double base = mvaBase_;
    record = BranchRecord{};
    const NetBus& from = *branch.from;
    const NetBus& to = *branch.to;
    record.fromBus = from.number;
    record.toBus = to.number;
    record.key = branch.key;
    record.kind = branch.kind;
    record.rating = branch.rating;
    record.fromBaseKv = from.baseKv;
    record.toBaseKv = to.baseKv;

    const double t = branch.tap;
    const EndFlows flows = BranchFlows(branch);
    record.pFrom = flows.fromP * base;
    record.qFrom = flows.fromQ * base;
    record.pTo = flows.toP * base;
    record.qTo = flows.toQ * base;
    record.pLoss = record.pFrom + record.pTo;
    record.qLoss = record.qFrom + record.qTo;
    record.currentFrom = EndCurrent(flows.fromP, flows.fromQ, from.voltage, from.baseKv, base);
    record.currentTo = EndCurrent(flows.toP, flows.toQ, to.voltage, to.baseKv, base);
    if (CodeHas(branch.code, "TR")) {
        if (t == 0.0)
            record.tapRatio = 1.0;
        else if (from.baseKv > 0.0 && to.baseKv > 0.0)
            record.tapRatio = from.baseKv / (to.baseKv * t);
        else
            record.tapRatio = 1.0 / t;
        record.phaseShift = branch.shift / degreesToRadians_;
    }
}
