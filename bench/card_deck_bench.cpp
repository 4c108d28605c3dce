#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "casefiles/card_fields.h"
#include "solver.h"
#include "solver_reference.h"

// Reading a large two-letter card deck: the 2000-bus public case, read in
// its IEEE form and written out as a deck once before the timing, then read
// as a deck again and again (read, checked and linked, as a file run does).

namespace {

const std::string kCase = std::string(BENCH_DATA_DIR) + "/case_ACTIVSg2000.cdf";

// A card of fields at their columns, blanks between them.
class Card {
public:
    explicit Card(const char* code) : text_(code) {}
    Card& At(int col, const std::string& field) {
        const std::size_t first = static_cast<std::size_t>(col - 1);
        if (text_.size() < first + field.size()) text_.resize(first + field.size(), ' ');
        text_.replace(first, field.size(), field);
        return *this;
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// Bus names of eight characters and the bus's base kV in four.
std::string DeckName(const NetBus& bus) {
    char name[16];
    std::snprintf(name, sizeof name, "B%07d", bus.number);
    return name + FormatNumber(0, 4, 1, bus.baseKv);
}

void WriteBusCard(FILE* deck, const NetBus& bus, double base) {
    const bool slack = CodeHas(bus.code, "S");
    const bool generator = slack || (CodeHas(bus.code, "Q") && bus.maxQ > bus.minQ);
    Card card(slack ? "BS " : generator ? "BQ " : "B  ");
    card.At(7, DeckName(bus)).At(21, FormatNumber(0, 5, 1, bus.loadP * base)).At(26, FormatNumber(0, 5, 1, bus.loadQ * base));
    card.At(35, FormatNumber(0, 4, 1, bus.shuntB * base)).At(43, FormatNumber(0, 5, 1, bus.scheduledP * base));
    if (generator)
        card.At(48, FormatNumber(0, 5, 1, bus.maxQ * base)).At(53, FormatNumber(0, 5, 1, bus.minQ * base));
    else
        card.At(48, FormatNumber(0, 5, 1, bus.generationQ * base));
    card.At(58, FormatNumber(0, 4, 1, bus.voltage));
    std::fprintf(deck, "%s\n", card.Text().c_str());
}

void WriteBranchCard(FILE* deck, const NetBranch& branch) {
    const bool transformer = CodeHas(branch.code, "TR");
    const double z2 = branch.g * branch.g + branch.b * branch.b;
    // A deck holds R and X to 1e-5 p.u.: the few branches shorter than
    // that keep the smallest impedance it can hold.
    const double x = std::max(-branch.b / z2, 0.0002);
    Card card(transformer ? "T  " : "L  ");
    card.At(7, DeckName(*branch.from)).At(20, DeckName(*branch.to)).At(32, std::string(1, branch.circuit));
    card.At(39, FormatNumber(0, 6, 1, branch.g / z2)).At(45, FormatNumber(0, 6, 1, x));
    card.At(57, FormatNumber(0, 6, 1, transformer ? 0.0 : branch.fromShuntB));
    if (transformer)
        card.At(63, FormatNumber(0, 5, 1, branch.from->baseKv / branch.tap)).At(68, FormatNumber(0, 5, 1, branch.to->baseKv));
    std::fprintf(deck, "%s\n", card.Text().c_str());
}

// The 2000-bus case as a deck in a file of the process's own.
class Case2000Deck {
public:
    Case2000Deck() : path_("/tmp/card_deck_bench_" + std::to_string(static_cast<long>(::getpid())) + ".deck") {
        SolverReference solver;
        const char* items[] = {"ostrand", "-I"};
        solver->SetArguments(2, items);
        solver->ReadNetwork(kCase.c_str());
        const Network& network = *solver->GetNetwork();
        FILE* deck = std::fopen(path_.c_str(), "w");
        std::fprintf(deck, "HDG\n2000-BUS PUBLIC CASE AS A TWO-LETTER CARD DECK\nBAS\n");
        for (const auto& bus : network.buses) WriteBusCard(deck, *bus, solver->MvaBase());
        for (const auto& branch : network.branches) WriteBranchCard(deck, *branch);
        std::fprintf(deck, "END\n");
        std::fclose(deck);
    }
    ~Case2000Deck() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

void ReadCardDeck2000(benchmark::State& state) {
    static const Case2000Deck deck;
    const char* items[] = {"ostrand"};
    for (auto _ : state) {
        SolverReference solver;
        solver->SetArguments(1, items);
        try {
            solver->ReadNetwork(deck.Path().c_str());
        } catch (const SolverAbort&) {
            state.SkipWithError("the deck could not be read");
            break;
        }
        benchmark::DoNotOptimize(solver->GetNetwork());
    }
}
BENCHMARK(ReadCardDeck2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
