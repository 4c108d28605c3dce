# Two set-up commands: `make run` and `make test`. Both install what is missing first.
RELEASE_DIR := build/release
TEST_DIR    := build/test
JOBS        ?= $(shell nproc)

.PHONY: deps release run test bench clean

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

clean:
	rm -rf build
