# make run  - install what is missing, build the program alone, start it
# make test - install what is missing, build everything, run every test
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = cmake make g++ pkg-config qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev \
           libqcustomplot-dev fonts-dejavu-core socat

.PHONY: all deps configure build run test clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then SUDO=""; else SUDO=sudo; fi; \
	  $$SUDO apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The program alone: the tests and benchmarks are built by `make test` and `make build`.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target ampwright
	./$(BUILD)/ampwright

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
