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

# The gear file fuzz target (clang and libFuzzer) for FUZZ_SECONDS, starting from the examples and the kept
# findings. An input slower than 10 s or needing more than 2 GB counts as a finding, as does a crash: each stops
# the run with a non-zero status. New inputs go to build/fuzz/corpus, a finding to build/fuzz/crash-*,
# timeout-* or oom-*: keep it under tests/fuzz_regressions/.
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DGEARRECORDS_FUZZ=ON -DGEARRECORDS_BUILD_TESTS=OFF >/dev/null
	@cmake --build build/fuzz --target gear_file_fuzz
	@mkdir -p build/fuzz/corpus
	build/fuzz/fuzz/gear_file_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
		-dict=fuzz/gear_file.dict -artifact_prefix=build/fuzz/ -print_final_stats=1 \
		build/fuzz/corpus examples tests/fuzz_regressions

# The chart-file import's fuzz target, the same way, starting from the chart files of the tests.
fuzz-charts: deps
	@CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DGEARRECORDS_FUZZ=ON -DGEARRECORDS_BUILD_TESTS=OFF >/dev/null
	@cmake --build build/fuzz --target kchart_import_fuzz
	@mkdir -p build/fuzz/chart_corpus
	build/fuzz/fuzz/kchart_import_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
		-dict=fuzz/kchart_file.dict -artifact_prefix=build/fuzz/ -print_final_stats=1 \
		build/fuzz/chart_corpus tests/data/kcharts

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

format-check:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i
	@git diff --exit-code -- '*.h' '*.cpp' || (echo "clang-format changed the files above" && exit 1)

clean:
	rm -rf build
