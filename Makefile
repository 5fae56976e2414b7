# The few commands that do everything; each runs scripts/install-deps first.
PRESETS_TEST := linux linux-asan win32 win64
JOBS ?= $(shell nproc)

.PHONY: deps test test-linux test-asan test-win32 test-win64 bench demo format clean

deps:
	@scripts/install-deps

test: deps
	@for p in $(PRESETS_TEST); do \
	  echo "== $$p: build" && \
	  cmake --preset $$p >/dev/null && \
	  cmake --build --preset $$p -j $(JOBS) || exit 1; \
	done
	@for p in $(PRESETS_TEST); do \
	  echo "== $$p: test" && \
	  ctest --preset $$p -j $(JOBS) || exit 1; \
	done

test-linux test-asan test-win32 test-win64: deps
	@p=$(patsubst test-%,%,$@); [ $$p = asan ] && p=linux-asan; \
	cmake --preset $$p >/dev/null && cmake --build --preset $$p -j $(JOBS) && ctest --preset $$p -j $(JOBS)

bench: deps
	@cmake --preset linux-release >/dev/null && cmake --build --preset linux-release -j $(JOBS)
	@build/linux-release/bin/pixmor_bench
	@PIXMOR=build/linux-release/bin/pixmor bench/print-host.sh

demo: deps
	@cmake --preset linux >/dev/null && cmake --build --preset linux -j $(JOBS)
	@if [ -x scripts/demo ]; then scripts/demo; \
	 else echo "The print host is not built yet: 'make demo' will print a sample job once it is."; fi

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build out
