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
	  if [ -f "$$b" ] && [ -x "$$b" ]; then echo "== $$b"; "$$b" || exit 1; fi; \
	done

clean:
	rm -rf $(BUILD)
