# ZENTABULAR: set-up, build and test on Debian 12.
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES := cmake make g++ libgtest-dev libbenchmark-dev qt6-base-dev libgl-dev fonts-dejavu-core fonts-dejavu-extra
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_TIME ?= 600
FUZZ_TARGETS := compile eval wks macro range script

.PHONY: run test bench asan fuzz deps fuzz-deps configure build clean

# The window on the demonstration worksheet; without a display ztb32 says so
# and prints the worksheet as text.
run: build
	$(BUILD)/ztb32 examples/AUTOEXEC.WKS

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DZT_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS) --target zentab_bench ztb32
	$(BUILD)-bench/zentab_bench
	bench/startup.sh $(BUILD)-bench/ztb32
	bench/workloads.sh $(BUILD)-bench/ztb32

asan: deps
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DZT_SANITIZE=ON
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && ctest --output-on-failure -j $(JOBS)

# Each fuzz target runs FUZZ_TIME seconds on its corpus; inputs that made it
# fail are kept under fuzz/regressions/ and replayed by the tests.
fuzz: deps fuzz-deps
	cmake -S . -B $(BUILD)-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZT_FUZZ=ON
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target fuzz_targets
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(BUILD)-fuzz/corpus/$$t fuzz/regressions/$$t; \
	  $(BUILD)-fuzz/$${t}_fuzz -max_total_time=$(FUZZ_TIME) -max_len=4096 \
	    -artifact_prefix=fuzz/regressions/$$t/ $(BUILD)-fuzz/corpus/$$t || exit 1; \
	done

fuzz-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan $(BUILD)-fuzz
