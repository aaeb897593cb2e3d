# The two commands of the README, plus the bench. Each installs what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test bench build deps clean

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/shop-erp

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/shop-bench

clean:
	rm -rf $(BUILD)
