#!/bin/sh
# Interconnect test: fails the unit whose serial number ends in 13, to show
# what a failing board looks like in the report.
serial=$(sed -n 's/^UnitIdentSN=//p' "$1")
echo "Testing 412 nets on unit '${serial:-unknown}'"
case "$serial" in
    *13)
        echo "Net U7.12 -> J3.4: stuck at 0" >&2
        echo "1 of 412 nets failed"
        exit 1 ;;
esac
echo "412 of 412 nets passed"
exit 0
