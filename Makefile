# Thin wrapper over the CMake presets; see README.md.
.PHONY: deps configure build run test package bench format test-sanitize test-tsan fuzz clean

JOBS ?= $(shell nproc)
SAMPLE ?= data/sample_fleet.txt

deps:
	bash scripts/install-deps.sh

configure: deps
	@[ -f build/build.ninja ] || cmake --preset default

build: configure
	cmake --build build -j $(JOBS)

# Without a display the windows cannot open; the same engine then prints the sample's summary.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then ./build/bin/weibflow $(SAMPLE); \
	else echo "Нет дисплея: показываю сводку файла $(SAMPLE) из weibflow-cli"; \
	./build/bin/weibflow-cli load $(SAMPLE); fi

test: build
	ctest --preset default -j $(JOBS)

# build/weibflow_<version>_amd64.deb; install it with `apt install ./build/weibflow_*.deb`.
package: build
	cmake --build build --target package

bench: build
	bash bench/run.sh

# Everything (windows included) with AddressSanitizer, LeakSanitizer and UBSan; the whole
# suite, then one full fit of all six models through the CLI, must report nothing.
test-sanitize: deps
	@[ -f build-sanitize/build.ninja ] || cmake --preset sanitize
	cmake --build build-sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)
	bash scripts/sanitize-full-run.sh build-sanitize $(SAMPLE)

# Everything again with ThreadSanitizer: the genetic thread pool, the window's workers and
# the window tests among the whole suite, then the same six-model run. scripts/tsan.supp
# says what is left unchecked inside Qt, and why.
test-tsan: deps
	@[ -f build-tsan/build.ninja ] || cmake --preset tsan
	cmake --build build-tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS)
	bash scripts/sanitize-full-run.sh build-tsan $(SAMPLE)

# libFuzzer targets (clang, build-fuzz), each run for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) bash scripts/fuzz.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-sanitize build-tsan build-fuzz
