# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
SAMPLE ?= samples/park.lwf
CMAKE_FLAGS ?=
ifdef CI
CMAKE_FLAGS += -DLOTWRIGHT_WERROR=ON
endif

.PHONY: deps configure build run test bench clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	$(BUILD)/bin/lotwright "$(BUILD)/bin/$(SAMPLE)"

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; \
	  case $$b in */bench_gl_*) xvfb-run -a -s "-screen 0 1280x1024x24" $$b;; *) $$b;; esac || exit 1; \
	done

clean:
	rm -rf $(BUILD)
