#!/bin/sh
# Power supply check without a supply attached: reports an error, which the
# sequence lets pass to show the error lamp and verdict.
echo "Measuring VCC on TP1..."
echo "No supply unit answered on the bench bus" >&2
exit 2
