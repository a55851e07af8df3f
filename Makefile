# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
SAMPLE ?= samples/park.lwf
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60
ifdef CI
CMAKE_FLAGS += -DLOTWRIGHT_WERROR=ON
endif

PREFIX ?= /usr/local

.PHONY: deps configure build run test fuzz test-asan bench package install clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	$(BUILD)/bin/lotwright "$(BUILD)/bin/$(SAMPLE)"

# Every test, then each fuzz target for 20 seconds.
test: build
	cd $(BUILD) && ctest --output-on-failure -j2
	@FUZZ_SECONDS=20 FUZZ_OUT=$(abspath $(BUILD))/fuzz tests/fuzz/run-fuzzers

# Each fuzz target for FUZZ_SECONDS (built with clang into build-fuzz/).
fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_OUT=$(abspath $(BUILD))/fuzz tests/fuzz/run-fuzzers

# Every test built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B build-asan -G Ninja -DLOTWRIGHT_SANITIZE=address,undefined $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-asan
	cd build-asan && ctest --output-on-failure -j2

bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; \
	  case $$b in */bench_gl_*) xvfb-run -a -s "-screen 0 1280x1024x24" $$b;; *) $$b;; esac || exit 1; \
	done

# The Debian package build/lotwright_<version>_<arch>.deb (installs into /usr).
package: build
	@cmake --build $(BUILD) --target package

# Installs into PREFIX (as root for /usr/local), then tells the desktop of the
# new file type and menu entry; a staged install (DESTDIR) leaves that to the
# package's own installer.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	@if [ -z "$(DESTDIR)" ]; then \
	  update-mime-database $(PREFIX)/share/mime 2>/dev/null || true; \
	  update-desktop-database -q $(PREFIX)/share/applications 2>/dev/null || true; \
	  gtk-update-icon-cache -q -t $(PREFIX)/share/icons/hicolor 2>/dev/null || true; \
	fi

clean:
	rm -rf $(BUILD) build-asan build-fuzz
