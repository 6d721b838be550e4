# The two commands of the README, and a few more. Each installs what is missing and builds first.
EXAMPLE ?= examples/spur_gear.xml
GEARFILE = build/dev/tools/gearfile/gearfile

.PHONY: all deps build run test sanitize bench format format-check clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev

run: build
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

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

format-check:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i
	@git diff --exit-code -- '*.h' '*.cpp' || (echo "clang-format changed the files above" && exit 1)

clean:
	rm -rf build
