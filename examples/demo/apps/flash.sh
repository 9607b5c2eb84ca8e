#!/bin/sh
# Flash programming that needs a second attempt now and then: the first run
# of every pair fails, so a Redo on fail shows how a retry looks.
counter="$ORV_RESULT_DIR/flash.attempts"
attempts=$(cat "$counter" 2>/dev/null || echo 0)
attempts=$((attempts + 1))
echo "$attempts" > "$counter"
echo "Programming U12 (attempt $attempts)"
if [ $((attempts % 2)) -eq 1 ]; then
    echo "Verify failed at 0x0001F000" >&2
    exit 1
fi
echo "Programmed and verified 131072 bytes"
exit 0
