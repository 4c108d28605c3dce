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

# Runs each fuzz target in FUZZ_TARGETS (all by default; name one with
# `make fuzz FUZZ_TARGETS=results_database_fuzz`) for FUZZ_SECONDS (clang,
# libFuzzer, ASan and UBSan); an allocation above 64 MB or an input running
# 30 seconds counts as a finding.
# Each target grows its corpus in $(FUZZ_DIR)/corpus/<target> for the next
# run, starting from the seeds its build leaves in $(FUZZ_DIR)/fuzz/seeds.
FUZZ_TARGETS ?= archive_reader_fuzz results_database_fuzz results_cases_fuzz emf_picture_fuzz element_block_fuzz document_reader_fuzz graph_data_fuzz \
	ieee_cdf_run_fuzz card_deck_run_fuzz column80_run_fuzz card_fields_fuzz scenario_files_fuzz load_characteristics_fuzz host_records_fuzz \
	one_port_block_fuzz grid_paste_fuzz \
	listing_reader_fuzz remote_results_fuzz \
	nested_picture_fuzz \
	document_measured_fuzz settings_file_fuzz solver_options_fuzz
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DTAVRIN_TESTS=OFF -DTAVRIN_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/fuzz/seeds/$$t && \
		$(FUZZ_DIR)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -malloc_limit_mb=64 -timeout=30 -close_fd_mask=1 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_DIR)/$$t- $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/fuzz/seeds/$$t || exit 1; \
	done

clean:
	rm -rf build
