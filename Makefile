# Front door. `make test` is what CI runs: it installs what is missing, checks the formatting,
# builds with warnings as errors, and runs every test, then the sanitizer runs (address+undefined
# over everything with gcc, thread with clang over the non-Qt libraries and the tests that run
# threads, so that both compilers see the whole core) and a short run of every fuzz target.
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja
BUILD := build
ASAN := build-asan
TSAN := build-tsan
FUZZ := build-fuzz
# Seconds each fuzz target runs: briefly inside make test, longer with make fuzz.
FUZZ_SHORT ?= 15
FUZZ_LONG ?= 600

# Warnings are errors wherever the tests are built; `make build` alone keeps them warnings.
WERROR ?= ON

.PHONY: all setup build package test check-format test-main test-asan test-tsan test-fuzz fuzz run bench \
	format clean

all: build

setup:
	@scripts/setup

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# A .deb of the installed tree (CPack, dependencies from the programs' libraries).
package: build
	cmake --build $(BUILD) --target package

check-format: setup
	@files=$$(git ls-files '*.cpp' '*.h'); \
	if ! clang-format --dry-run --Werror $$files 2>/tmp/kx2-format.$$$$; then \
	  grep -o '^[^:]*:' /tmp/kx2-format.$$$$ | sort -u | sed 's/:$$/: not formatted (make format)/'; \
	  rm -f /tmp/kx2-format.$$$$; exit 1; fi; rm -f /tmp/kx2-format.$$$$; \
	echo "format: $$(echo $$files | wc -w) files formatted"

test-main: setup $(BUILD)/build.ninja
	cmake -S . -B $(BUILD) -DKX2_WERROR=$(WERROR) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

$(ASAN)/build.ninja:
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKX2_SANITIZE=address \
	  -DKX2_WERROR=$(WERROR)

test-asan: setup $(ASAN)/build.ninja
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

$(TSAN)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(TSAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DKX2_SANITIZE=thread -DKX2_WITH_QT=OFF -DKX2_WERROR=$(WERROR)

test-tsan: setup $(TSAN)/build.ninja
	cmake --build $(TSAN) -j $(JOBS) --target kx2_tsan_tests kx2ctl
	cd $(TSAN) && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600 -L tsan

$(FUZZ)/build.ninja:
	@command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (scripts/setup installs clang)"; exit 1; }
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DKX2_SANITIZE=fuzz -DKX2_FUZZ=ON -DKX2_WITH_QT=OFF -DKX2_WERROR=$(WERROR) -DBUILD_TESTING=OFF

test-fuzz: setup $(FUZZ)/build.ninja
	@scripts/fuzz $(FUZZ) $(FUZZ_SHORT)

fuzz: setup $(FUZZ)/build.ninja
	@scripts/fuzz $(FUZZ) $(FUZZ_LONG)

test: check-format test-main test-asan test-tsan test-fuzz

# With a display: the desktop program on a simulated unit inside it; without: the headless demo.
run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ] && [ -x $(BUILD)/src/qt/kx2init ]; then \
	  echo "kx2init --simulate (the port box holds the simulated unit's port: Connect, Read, Write)"; \
	  $(BUILD)/src/qt/kx2init --simulate; \
	else scripts/demo $(BUILD); fi

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$(basename $$b)"; $$b; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN) $(TSAN) $(FUZZ)
