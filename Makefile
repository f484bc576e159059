# Lumora: `make run` starts the program, `make test` runs every test in both builds.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
# Warnings stop the build only where the compiler is known (CI sets LUMORA_WERROR=ON): a newer
# compiler's new warnings must not keep `make run` from starting the program.
LUMORA_WERROR ?= OFF
BUILD := build
ASAN_BUILD := build-asan
BENCH_BUILD := build-bench

.PHONY: all deps build build-asan run test test-normal test-asan bench format clean FORCE

all: build

deps:
	@bash scripts/install-deps.sh

CONFIGURE := -G Ninja -DLUMORA_WERROR=$(LUMORA_WERROR) $(CMAKE_FLAGS)

# A build directory is configured again when the flags it was configured with change.
%/lumora.flags: FORCE
	@mkdir -p $*
	@echo '$(CONFIGURE)' | cmp -s - $@ || echo '$(CONFIGURE)' >$@

$(BUILD)/build.ninja: $(BUILD)/lumora.flags
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CONFIGURE)

$(ASAN_BUILD)/build.ninja: $(ASAN_BUILD)/lumora.flags
	CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug \
	  -DLUMORA_SANITIZE=ON $(CONFIGURE)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The program runs in its program directory, so what it writes into the working directory (the
# drawing report) lands beside the user's drawings, not in the source tree.
run: build
	cd data && LUMORA_HOME=$(CURDIR)/data $(CURDIR)/$(BUILD)/lumora $(SETUP)

# The window tests run once, in the sanitizer build, where they also catch memory faults;
# `ctest --test-dir build -L gui` runs them on the normal build.
test-normal: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE 'fuzz|gui'

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test: test-normal test-asan

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DLUMORA_BENCH=ON \
	  -DLUMORA_GUI=OFF $(CONFIGURE)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target lumora_bench
	./$(BENCH_BUILD)/bench/lumora_bench $(BENCH_ARGS)

format:
	find src tests bench fuzz tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i

FORCE:

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
