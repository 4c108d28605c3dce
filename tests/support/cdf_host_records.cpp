#include "cdf_host_records.h"

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace {

// Reactive limits that never bind, Mvar.
constexpr double kOpenMvar = 1e10;

std::vector<double> NumbersAfter(const std::string& line, size_t column) {
    std::istringstream in(line.size() > column ? line.substr(column) : std::string());
    in.imbue(std::locale::classic());
    std::vector<double> numbers;
    for (double x; in >> x;) numbers.push_back(x);
    return numbers;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
    while (!text.empty() && text.front() == ' ') text.erase(text.begin());
    return text;
}

}  // namespace

HostNetwork LoadCdfAsHostRecords(const std::string& path, CdfConversion conversion) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot open " + path);
    HostNetwork network;
    std::map<int, double> baseKv;
    std::string line;
    enum { Header, Buses, BetweenSections, Branches, Done } section = Header;

    while (section != Done && std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("BUS DATA FOLLOWS", 0) == 0) {
            section = Buses;
            continue;
        }
        if (line.rfind("BRANCH DATA FOLLOWS", 0) == 0) {
            section = Branches;
            continue;
        }
        if (line.rfind("-999", 0) == 0) {
            section = section == Branches ? Done : BetweenSections;
            continue;
        }
        if (section == Buses) {
            // Number in columns 1-4, name in 6-17, then blank-separated fields:
            // area, zone, type, V, angle, load MW, Mvar, gen MW, Mvar, base kV,
            // desired V, max Mvar, min Mvar, G, B, remote bus.
            auto f = NumbersAfter(line, 17);
            if (f.size() < 15) throw std::runtime_error("short bus line: " + line);
            BusRecord r;
            r.number = std::stoi(line.substr(0, 4));
            r.key = (r.number << 8) | 1;
            network.names.push_back(Trimmed(line.substr(5, 12)));
            r.name = network.names.back().c_str();
            int type = static_cast<int>(f[2]);
            r.kind = type == 3 ? 0 : type == 2 ? (conversion.reactiveLimits ? 4 : 5) : 1;
            r.voltage = type >= 2 && f[10] > 0 ? f[10] : conversion.flatStart ? 1.0 : f[3];
            r.angle = conversion.flatStart && type != 3 ? 0.0 : f[4];
            r.loadP = f[5];
            r.loadQ = f[6];
            r.direction[0] = f[5];
            r.direction[3] = f[6];
            r.generationP = f[7];
            r.generationQ = f[8];
            r.baseKv = f[9] > 0 ? f[9] : conversion.defaultBaseKv;
            r.maxQ = f[11];
            r.minQ = f[12];
            if (type == 3 && !conversion.reactiveLimits) {
                r.maxQ = kOpenMvar;
                r.minQ = -kOpenMvar;
            }
            r.shuntG = f[13];
            r.shuntB = f[14];
            baseKv[r.number] = r.baseKv;
            network.buses.push_back(r);
        } else if (section == Branches) {
            // From, to, area, zone, circuit, type, R, X, B, three ratings,
            // control bus, side, ratio, angle, ...
            auto f = NumbersAfter(line, 0);
            if (f.size() < 16) throw std::runtime_error("short branch line: " + line);
            BranchRecord r;
            r.fromBus = static_cast<int>(f[0]);
            r.toBus = static_cast<int>(f[1]);
            r.key = (static_cast<int>(network.branches.size() + 1) << 8) | 10;
            r.fromBaseKv = baseKv.at(r.fromBus);
            r.toBaseKv = baseKv.at(r.toBus);
            r.resistance = f[6];
            r.reactance = f[7];
            r.chargingB = f[8];
            r.circuit[0] = '1';
            double ratio = f[14];
            double shift = f[15];
            bool offNominal = (ratio != 0.0 && ratio != 1.0) || shift != 0.0;
            bool transformer = offNominal || (static_cast<int>(f[5]) != 0 && r.chargingB == 0.0);
            if (transformer) {
                r.kind = BranchRecord::Transformer;
                double tap = ratio > 0 ? ratio : 1.0;
                r.fromWindingKv = tap * r.fromBaseKv;
                r.toWindingKv = r.toBaseKv;
                r.phaseShift = shift;
            }
            network.branches.push_back(r);
        }
    }
    if (network.buses.empty()) throw std::runtime_error("no buses in " + path);
    return network;
}
