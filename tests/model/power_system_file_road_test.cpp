// The power flow's file road: the model's own IEEE common-format case, the
// solver's run over it, and the listing read back, against the host road.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cdf_model.h"
#include "generator.h"
#include "load.h"
#include "recording_message_sink.h"
#include "recording_prompt.h"
#include "scratch_folder.h"
#include "solver_interface.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The flows and currents of a branch, and a bus's voltage and angle.
void ExpectSameResults(const std::vector<IElement*>& host, const std::vector<IElement*>& files) {
    ASSERT_EQ(host.size(), files.size());
    for (std::size_t i = 0; i < host.size(); ++i) {
        SCOPED_TRACE(host[i]->GetName());
        const double* h = host[i]->GetValues();
        const double* f = files[i]->GetValues();
        if (dynamic_cast<Bus*>(host[i])) {
            EXPECT_NEAR(h[Bus::kVoltage], f[Bus::kVoltage], 1e-4);
            EXPECT_NEAR(h[Bus::kAngle], f[Bus::kAngle], 0.01);
        } else {
            // The listing gives MW and Mvar to two decimals.
            for (int v = BranchData::kPFrom; v <= BranchData::kQTo; ++v) EXPECT_NEAR(h[v], f[v], 0.006) << v;
        }
    }
}

std::vector<IElement*> Elements(PowerSystem& model, PowerSystem::ListId id) {
    std::vector<IElement*> out;
    for (const auto& [key, element] : model.List(id).Entries()) out.push_back(element);
    return out;
}

TEST(PowerSystemFileRoad, PublicCasesSolveAsByTheHostRoad) {
    ScratchFolder folder("file_road_cases");
    for (const char* name : {"case14", "case118"}) {
        SCOPED_TRACE(name);
        const std::string cdf = std::string(TEST_DATA_DIR "/") + name + ".cdf";
        CdfModel host(cdf);
        CdfModel files(cdf);
        RecordingMessageSink sink;
        files.model().SetMessageSink(&sink);
        ASSERT_EQ(host.model().RunSolver(nullptr, nullptr, nullptr), 1);
        const std::string in = (folder / "in.cdf").string();
        const std::string out = (folder / "out.lst").string();
        ASSERT_EQ(files.model().RunSolver(in.c_str(), out.c_str(), nullptr), 1);
        for (const auto& message : sink.messages) EXPECT_LT(message.level, 3) << message.text;
        ExpectSameResults(Elements(host.model(), PowerSystem::kBuses), Elements(files.model(), PowerSystem::kBuses));
        ExpectSameResults(Elements(host.model(), PowerSystem::kLines), Elements(files.model(), PowerSystem::kLines));
        for (const auto& [number, bus] : host.Buses()) {
            IElement* generator = host.model().FindAttached(bus->GetKey(), Category::Generator);
            if (!generator) continue;
            IElement* twin = files.model().FindAttached(files.BusNumbered(number).GetKey(), Category::Generator);
            EXPECT_NEAR(generator->GetValues()[0], twin->GetValues()[0], 0.006);
            EXPECT_NEAR(generator->GetValues()[1], twin->GetValues()[1], 0.006);
        }
        // Losses, summed from flows rounded to 0.005 MW at each end.
        EXPECT_NEAR(host.model().GetSystemTotal(4), files.model().GetSystemTotal(4),
                    0.01 * static_cast<double>(files.Branches().size()));
        EXPECT_FALSE(std::filesystem::exists(in));
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_FALSE(files.model().IsGroupingBuses());
    }
}

// S1 -connector- S2 =two unlike lines= L1 -breaker- L2, the slack at S1 and
// a load at L2, besides a bus 3 that keeps the group off numbers 1 and 2.
struct GroupedNetwork {
    GroupedNetwork() {
        s1 = &net.AddBus("S1", 110.0, 1.02);
        net.Hang<Generator>(*s1, 10);
        s1->GetValues()[Bus::kKind] = Bus::kSwingKind;
        s2 = &net.AddBus("S2");
        l1 = &net.AddBus("L1");
        l2 = &net.AddBus("L2");
        net.Join<Connector>(*s1, *s2, 5);
        first = &net.Join<PowerLine>(*s2, *l1, 15);
        second = &net.Join<PowerLine>(*s2, *l1, 25);
        second->GetValues()[BranchData::kReactance] *= 2.0;
        breaker = &net.Join<CircuitBreaker>(*l1, *l2, 35);
        breaker->SetOn(true);
        double* v = net.Hang<Load>(*l2, 20).GetValues();
        v[Load::kP] = v[Load::kPConstantPower] = 50.0;
        v[Load::kQ] = v[Load::kQConstantPower] = 20.0;
    }
    DrawnNetwork net;
    Bus *s1, *s2, *l1, *l2;
    PowerLine *first, *second;
    CircuitBreaker* breaker;
};

TEST(PowerSystemFileRoad, GroupsAndParallelLinesComeBackToTheirElements) {
    ScratchFolder folder("file_road_groups");
    GroupedNetwork host;
    GroupedNetwork files;
    ASSERT_EQ(host.net.model().RunSolver(nullptr, nullptr, nullptr), 1);
    const std::string in = (folder / "in.cdf").string();
    ASSERT_EQ(files.net.model().RunSolver(in.c_str(), nullptr, nullptr), 1);
    ExpectSameResults(Elements(host.net.model(), PowerSystem::kBuses), Elements(files.net.model(), PowerSystem::kBuses));
    ExpectSameResults(Elements(host.net.model(), PowerSystem::kLines), Elements(files.net.model(), PowerSystem::kLines));
    // The two lines carry different flows, each its own.
    EXPECT_GT(std::abs(files.first->GetValues()[BranchData::kPFrom] - files.second->GetValues()[BranchData::kPFrom]), 5.0);
    EXPECT_NEAR(files.breaker->GetValues()[SwitchData::kP], host.breaker->GetValues()[SwitchData::kP], 0.01);
    EXPECT_NEAR(files.breaker->GetValues()[SwitchData::kP], 50.0, 0.01);
    EXPECT_FALSE(std::filesystem::exists(in));
    EXPECT_FALSE(std::filesystem::exists(in + ".lst"));
    EXPECT_FALSE(files.net.model().IsGroupingBuses());
}

TEST(PowerSystemFileRoad, TheExportNumbersGroupsFreelyAndTellsParallelLinesApart) {
    ScratchFolder folder("file_road_export");
    GroupedNetwork grouped;
    const std::string path = (folder / "grouped.cdf").string();
    ASSERT_TRUE(grouped.net.model().ExportIEEECommonFormat(path.c_str()));
    std::istringstream text(ReadText(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], " 00/00/00 Quellmark             100.0");
    EXPECT_EQ(lines[1], "BUS DATA FOLLOWS");
    // Buses 1-4 carry serials 1-4: group 0 (S1, S2) takes 5, group 1 (L1,
    // L2) 6; no bus of a group has a card of its own.
    EXPECT_EQ(lines[2].substr(0, 18), "   5 BusGroup_0   ");
    EXPECT_EQ(lines[3].substr(0, 18), "   6 BusGroup_1   ");
    EXPECT_EQ(lines[4], "-999");
    EXPECT_EQ(lines[5], "BRANCH DATA FOLLOWS");
    EXPECT_EQ(lines[6].substr(0, 17), "   5    6  1  1 1");
    EXPECT_EQ(lines[7].substr(0, 17), "   5    6  1  1 2");
    EXPECT_EQ(lines[8], "-999");
    EXPECT_EQ(lines[9], "END OF DATA");
}

// Slack A with a generator, B and C with loads, lines A-B, B-C and a
// second A-B line that is out of service.
struct ThreeBuses {
    ThreeBuses() {
        a = &net.AddBus("A", 110.0, 1.02);
        net.Hang<Generator>(*a, 10);
        a->GetValues()[Bus::kKind] = Bus::kSwingKind;
        b = &net.AddBus("B");
        c = &net.AddBus("C");
        ab = &net.Join<PowerLine>(*a, *b, 15);
        net.Join<PowerLine>(*a, *b, 25).SetOn(false);
        bc = &net.Join<PowerLine>(*b, *c, 20);
        for (Bus* bus : {b, c}) {
            double* v = net.Hang<Load>(*bus, 30).GetValues();
            v[Load::kP] = v[Load::kPConstantPower] = 30.0;
            v[Load::kQ] = v[Load::kQConstantPower] = 10.0;
        }
        net.model().SetMessageSink(&sink);
        net.model().SetPrompt(&prompt);
    }
    DrawnNetwork net;
    Bus *a, *b, *c;
    PowerLine *ab, *bc;
    RecordingMessageSink sink;
    RecordingPrompt prompt;
};

TEST(PowerSystemFileRoad, AnExportWritesNothingItCannotFinish) {
    ScratchFolder folder("file_road_refused");
    const std::string path = (folder / "refused.cdf").string();
    {
        DrawnNetwork single;
        single.AddBus("A");
        EXPECT_FALSE(single.model().ExportIEEECommonFormat(path.c_str()));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    {
        ThreeBuses net;
        net.a->GetValues()[Bus::kKind] = Bus::kLoadKind;
        EXPECT_FALSE(net.net.model().ExportIEEECommonFormat(path.c_str()));
        EXPECT_FALSE(std::filesystem::exists(path));
        ASSERT_EQ(net.prompt.boxes.size(), 1u);
        EXPECT_EQ(net.prompt.boxes[0].text,
                  "There is no swing bus in PS model!\nThere must be at least one swing bus in PS model!!!");
    }
    ThreeBuses net;
    ASSERT_TRUE(net.net.model().ExportIEEECommonFormat(path.c_str()));
    const std::string text = ReadText(path);
    const auto branches = text.substr(text.find("BRANCH DATA FOLLOWS"));
    // The line out of service stays out: two cards between the markers.
    EXPECT_EQ(std::count(branches.begin(), branches.end(), '\n'), 5);
}

// Run in a child process: files may not grow past 64 bytes, so the export
// fails part-way as on a full disk. Exits with 0 when the export failed
// and said so.
void ExportWithFilesLimitedTo64Bytes(const std::string& path) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{64, 64};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ThreeBuses net;
    const bool exported = net.net.model().ExportIEEECommonFormat(path.c_str());
    const bool said = net.prompt.boxes.size() == 1 && net.prompt.boxes[0].text == "Cannot write the file " + path + "!";
    std::_Exit(!exported && said ? 0 : 1);
}

TEST(PowerSystemFileRoad, AnExportThatFailsPartWayKeepsTheFileItWouldReplace) {
    ScratchFolder folder("file_road_full_disk");
    const std::string path = (folder / "case.cdf").string();
    WriteText(path, "the case as it was\n");
    EXPECT_EXIT(ExportWithFilesLimitedTo64Bytes(path), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadText(path), "the case as it was\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / ""), std::filesystem::directory_iterator()), 1);
}

// The solver's listing of the three-bus case, with the case's path.
std::string ListingOf(ThreeBuses& net, const ScratchFolder& folder) {
    const std::string cdf = (folder / "case.cdf").string();
    const std::string listing = (folder / "listing.txt").string();
    if (!net.net.model().ExportIEEECommonFormat(cdf.c_str())) return "";
    const char* items[] = {"ostrand", "-I", cdf.c_str(), listing.c_str()};
    ISolver* solver = createPSSolver();
    const int solved = solver->Main(4, items, 0);
    solver->Release();
    return solved == 1 ? ReadText(listing) : "";
}

std::string Replaced(std::string text, const std::string& what, const std::string& by) {
    const auto at = text.find(what);
    if (at != std::string::npos) text.replace(at, what.size(), by);
    return text;
}

TEST(PowerSystemFileRoad, AListingThatCannotBeReadWholeChangesNothing) {
    ScratchFolder folder("file_road_listing");
    ThreeBuses net;
    const std::string good = ListingOf(net, folder);
    ASSERT_FALSE(good.empty());
    const auto rows = good.find("AC DATA\n") + 8;
    std::string unknownBus = good;
    unknownBus.replace(rows + 3, 4, "  77");
    std::string badNumber = good;
    badNumber[rows + 10] = 'x';  // in the voltage of row 3
    const auto lastRow = good.rfind('\n', good.find("\n\n") - 1);
    struct Case {
        const char* name;
        std::string text;
        int line;
    } cases[] = {
        {"another product", Replaced(good, "Quellmark", "Elsewhere"), 1},
        {"no AC DATA", Replaced(good, "AC DATA", "DC DATA"), 2},
        {"truncated within a bus", good.substr(0, lastRow + 1), 0},
        {"a number that is not one", badNumber, 3},
        {"a bus the model lacks", unknownBus, 3},
    };
    const std::string path = (folder / "bad.txt").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        net.sink.messages.clear();
        WriteText(path, c.text);
        EXPECT_FALSE(net.net.model().ReadSolution(path.c_str()));
        for (Bus* bus : {net.a, net.b, net.c}) EXPECT_EQ(bus->GetValues()[Bus::kAngle], 0.0);
        EXPECT_EQ(net.ab->GetValues()[BranchData::kPFrom], 0.0);
        ASSERT_FALSE(net.sink.messages.empty());
        EXPECT_EQ(net.sink.messages.back().level, 3);
        if (c.line > 0) {
            EXPECT_NE(net.sink.messages.back().text.find("line " + std::to_string(c.line) + ":"), std::string::npos)
                << net.sink.messages.back().text;
        }
    }
    WriteText(path, "GENERATED BY Quellmark\r\nAC DATA\r\n");
    EXPECT_TRUE(net.net.model().ReadSolution(path.c_str()));
    EXPECT_EQ(net.c->GetValues()[Bus::kAngle], 0.0);

    // CR LF reads as LF does; every flow lands at its own end.
    std::string crlf = good;
    for (std::size_t at = 0; (at = crlf.find('\n', at)) != std::string::npos; at += 2) crlf.replace(at, 1, "\r\n");
    WriteText(path, crlf);
    ASSERT_TRUE(net.net.model().ReadSolution(path.c_str()));
    EXPECT_LT(net.c->GetValues()[Bus::kAngle], net.b->GetValues()[Bus::kAngle]);
    EXPECT_GT(net.bc->GetValues()[BranchData::kPFrom], 30.0);
    EXPECT_NEAR(net.bc->GetValues()[BranchData::kPTo], -30.0, 0.01);
    EXPECT_GT(net.ab->GetValues()[BranchData::kPFrom], 60.0);
}

}  // namespace
