# The two commands of the project; everything they need is installed and started by the scripts.
.PHONY: test run
test:
	@bash scripts/test.sh
run:
	@bash scripts/run.sh
