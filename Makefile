# make run  - install what is missing, build the program alone, start it
# make test - install what is missing, build everything, run every test
# The steps and the package list live in ampwright.sh, which works where make is missing.
BUILD ?= build
JOBS ?= $(shell nproc)
export BUILD JOBS

.PHONY: all deps configure build run test clean

all: build

deps configure build run test:
	sh ./ampwright.sh $@

clean:
	rm -rf -- "$(BUILD)"
