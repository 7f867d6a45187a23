# The two commands of the project; everything they need is installed and started by the scripts.
.PHONY: test run screenshots screenshots-plain-fonts bench dist
test:
	@bash scripts/test.sh
run:
	@bash scripts/run.sh
# Every window at 96, 120, 144 and 192 DPI and in a dark and a high-contrast scheme, taken from the
# real program under Xvfb into build/screenshots; the README's pictures go to docs/screenshots.
screenshots:
	@TESS_SCREENSHOT_SETS=1 bash scripts/run.sh
# The same at each DPI in a Wine prefix without the bitmap fonts (MS Sans Serif and others) that
# the tests bring in, into build/screenshots/plain-fonts.
screenshots-plain-fonts:
	@TESS_PLAIN_FONTS=1 TESS_SCREENSHOT_SETS="96dpi 120dpi 144dpi 192dpi" bash scripts/run.sh
# The benchmarks of bench/ against their floor programs, as one table (build/bench/last-run.md).
bench:
	@bash scripts/bench.sh
# The release archive and its SHA256SUMS in build/dist, the same bytes from every clone of a commit.
dist:
	@bash scripts/dist.sh
