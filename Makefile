# The two commands: `make demo` and `make test`. Both install what is missing,
# configure and build first.
SANITIZE ?= 0
JOBS ?= $(shell nproc)

ifeq ($(SANITIZE),1)
BUILD := build-sanitize
CMAKE_FLAGS := -DSANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD := build
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif

.PHONY: all deps configure build test demo bench run clean

all: build

deps:
	@bash scripts/install-deps.sh $(BUILD)

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

demo: build
	@bash scripts/demo.sh $(BUILD)

bench: build
	@bash scripts/bench.sh $(BUILD)

# cadhost on the desktop's display, with the drive-test modules loaded.
run: build
	@$(BUILD)/bin/cadhost --display --load $(BUILD)/bin/Cadcore.dbx --load $(BUILD)/bin/Levelmap.arx $(if $(DRAWING),--open $(DRAWING))

clean:
	rm -rf build build-sanitize
