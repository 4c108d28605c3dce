# Two set-up commands: `make run` and `make test`. Both install what is missing first.
RELEASE_DIR := build/release
TEST_DIR    := build/test
FUZZ_DIR    := build/fuzz
FUZZ_SECONDS ?= 300
JOBS        ?= $(shell nproc)

.PHONY: deps release run test bench fuzz clean

deps:
	@scripts/deps.sh

release: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF -DTAVRIN_BENCH=ON >/dev/null
	@cmake --build $(RELEASE_DIR) -j $(JOBS)

run: release
	@scripts/run.sh $(RELEASE_DIR)

test: deps
	@cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS)
	@cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

bench: release
	@for b in $(RELEASE_DIR)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done

# Runs the fuzz targets in turn, or only FUZZ_TARGET, each for FUZZ_SECONDS
# (clang, libFuzzer, ASan and UBSan); an allocation above 64 MB counts as a
# finding. Each grows its corpus in $(FUZZ_DIR)/corpus/<target> for the next
# run; the readers' targets start from the test networks and files.
FUZZ_TARGETS := archive_reader_fuzz ieee_cdf_run_fuzz scenario_files_fuzz load_characteristics_fuzz host_records_fuzz
FUZZ_TARGET  ?= $(FUZZ_TARGETS)
SEEDS_ieee_cdf_run_fuzz            := case9.cdf case14.cdf case30.cdf case118.cdf two_bus.cdf
SEEDS_scenario_files_fuzz          := case14_direction.k case14_start.v
SEEDS_load_characteristics_fuzz    := case14_loads.txt

fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DTAVRIN_TESTS=OFF -DTAVRIN_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGET)
	@for t in $(FUZZ_TARGET); do \
		mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/seeds/$$t; \
		case $$t in \
		ieee_cdf_run_fuzz) seeds="$(SEEDS_ieee_cdf_run_fuzz)";; \
		scenario_files_fuzz) seeds="$(SEEDS_scenario_files_fuzz)";; \
		load_characteristics_fuzz) seeds="$(SEEDS_load_characteristics_fuzz)";; \
		*) seeds="";; \
		esac; \
		for s in $$seeds; do cp tests/data/$$s $(FUZZ_DIR)/seeds/$$t/; done; \
		$(FUZZ_DIR)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -malloc_limit_mb=64 -timeout=30 -close_fd_mask=3 \
			-print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/$$t- $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/seeds/$$t \
			|| exit 1; \
	done

clean:
	rm -rf build
