// Writes the sample network: the IEEE 14-bus case as a ".pf" document.
//   make_ieee14_diagram examples/ieee14.cdf examples/ieee14.pf

#include <cstdio>
#include <exception>
#include <fstream>

#include "archive.h"
#include "ieee14_diagram.h"
#include "power_system.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <case.cdf> <network.pf>\n", argv[0]);
        return 2;
    }
    PowerSystem* model = PowerSystem::Create();
    if (!model) return 1;
    model->AddRef();
    int status = 0;
    try {
        DrawIeee14Diagram(*model, argv[1]);
        Archive out = Archive::ForStoring();
        model->Serialize(out);
        std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
        const auto& bytes = out.Bytes();
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) throw std::runtime_error(std::string("cannot write ") + argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        status = 1;
    }
    model->Release();
    return status;
}
