#!/bin/sh
# Zlomkar beside GNU bc and Python's decimal module on the same divisions, 1/7, 1/9973 and
# 1/16777213, to 10^7 and 10^8 digits: the peers write their digits to a file, Zlomkar holds them in
# its window (and the engine alone in memory). Prints seconds, the ratios to Zlomkar's window and
# the digits' SHA-256; 1/16777213's differ by design, as Zlomkar writes the digits of its 32-bit
# float steps. Run by hand after a build, with bc and python3: bench/peers.sh [BUILD_DIR]
build=${1:-$(dirname "$0")/../build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
seconds() { python3 -c "import sys; print(f'{(int(sys.argv[2]) - int(sys.argv[1])) / 1e9:.3f}')" "$@"; }

printf '| division | digits | Zlomkar window, s | engine, s | bc, s | Python decimal, s | bc / window | decimal / window | digests (window bc decimal) |\n|---|---|---|---|---|---|---|---|---|\n'
for digits in 10000000 100000000; do
    QT_QPA_PLATFORM=offscreen "$build/bench/zlomkar_bench" --limits --digits "$digits" 2>/dev/null >"$out/zlomkar"
    for divisor in 7 9973 16777213; do
        window=$(awk -v d="1/$divisor" '$1 == "window" && $2 == d { print $5 }' "$out/zlomkar")
        engine=$(awk -v d="1/$divisor" '$1 == "engine" && $2 == d { print $5 }' "$out/zlomkar")
        ours=$(awk -v d="1/$divisor" '$1 == "window" && $2 == d { print $NF }' "$out/zlomkar")
        start=$(date +%s%N)
        echo "scale=$digits; 1/$divisor" | BC_LINE_LENGTH=0 bc >"$out/bc"
        bc=$(seconds "$start" "$(date +%s%N)")
        start=$(date +%s%N)
        python3 -c "
import decimal, sys
n, d = int(sys.argv[1]), int(sys.argv[2])
with decimal.localcontext() as c:
    c.prec = n + 10
    c.rounding = decimal.ROUND_DOWN
    text = format(decimal.Decimal(1) / decimal.Decimal(d), 'f')
open(sys.argv[3], 'w').write(text[2:n + 2])
" "$digits" "$divisor" "$out/decimal"
        py=$(seconds "$start" "$(date +%s%N)")
        # The digits after the point are compared: bc writes .0001002, Python 0.0001002.
        bcd=$(tr -d '.\n\\' <"$out/bc" | head -c "$digits" | sha256sum | head -c 16)
        pyd=$(head -c "$digits" "$out/decimal" | sha256sum | head -c 16)
        ratio() { python3 -c "import sys; print(f'{float(sys.argv[1]) / float(sys.argv[2]):.1f}')" "$@"; }
        printf '| 1/%s | %s | %s | %s | %s | %s | %s | %s | %s %s %s |\n' "$divisor" "$digits" "$window" "$engine" "$bc" "$py" \
            "$(ratio "$bc" "$window")" "$(ratio "$py" "$window")" "$ours" "$bcd" "$pyd"
    done
done
