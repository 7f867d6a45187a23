# The two commands of the project; everything they need is installed and started by the scripts.
.PHONY: test run screenshots bench
test:
	@bash scripts/test.sh
run:
	@bash scripts/run.sh
# The README's pictures, taken from the real program under Xvfb.
screenshots:
	@TESS_SCREENSHOTS=$(CURDIR)/docs/screenshots bash scripts/run.sh
# The benchmarks of bench/ against their floor programs, as one table (build/bench/last-run.md).
bench:
	@bash scripts/bench.sh
