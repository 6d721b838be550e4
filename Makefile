# The two commands of the README, and a few more. Each installs what is missing and builds first.
EXAMPLE ?= examples/spur_gear.xml
GEARFILE = build/dev/tools/gearfile/gearfile

.PHONY: all deps build run test sanitize bench fuzz fuzz-charts format format-check clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev

# Only the library and the tool: a first look at a gear does not wait for the tests to compile.
run: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev --target gearfile
	$(GEARFILE) show $(EXAMPLE)

test: build
	@ctest --preset dev

sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize
	@ctest --preset sanitize

bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target gearrecords_bench
	build/release/bench/gearrecords_bench --benchmark_counters_tabular=true

# A fuzz target (clang and libFuzzer) for FUZZ_SECONDS: $(1) the target, $(2) its dictionary, $(3) the folders
# it starts from besides its corpus build/fuzz/$(1). An input slower than 10 s or needing more than 2 GB counts as
# a finding, as does a crash: each stops the run with a non-zero status. A finding goes to build/fuzz/crash-*,
# timeout-* or oom-*: keep it under tests/fuzz_regressions/.
define run_fuzz_target
	@CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DGEARRECORDS_FUZZ=ON -DGEARRECORDS_BUILD_TESTS=OFF >/dev/null
	@cmake --build build/fuzz --target $(1)
	@mkdir -p build/fuzz/$(1)
	build/fuzz/fuzz/$(1) -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
		-dict=$(2) -artifact_prefix=build/fuzz/ -print_final_stats=1 build/fuzz/$(1) $(3)
endef

FUZZ_SECONDS ?= 60
# The gear file reader, starting from the examples and the kept findings.
fuzz: deps
	$(call run_fuzz_target,gear_file_fuzz,fuzz/gear_file.dict,examples tests/fuzz_regressions)

# The chart-file import, starting from the chart files of the tests.
fuzz-charts: deps
	$(call run_fuzz_target,kchart_import_fuzz,fuzz/kchart_file.dict,tests/data/kcharts)

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

format-check:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i
	@git diff --exit-code -- '*.h' '*.cpp' || (echo "clang-format changed the files above" && exit 1)

clean:
	rm -rf build
