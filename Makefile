# The two commands of the project; everything they need is installed and started by the scripts.
.PHONY: test run screenshots bench dist
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
# The release archive and its SHA256SUMS in build/dist, the same bytes from every clone of a commit.
dist:
	@bash scripts/dist.sh
