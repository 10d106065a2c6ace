#!/usr/bin/env bash
# A long soak of the world: `worldtool run` over many seasons for several
# seeds, printing the head counts of every season (players and squad sizes at
# clubs, the list and loan markets, the pools) and failing when a count drifts
# away from where the first season left it. Every saved world is then saved
# again with `worldtool resave`. Not part of `make test`: ten seasons take a
# minute or so per seed.
#
#   scripts/soak.sh [--seasons N] [--seeds "1 2 3"] [--jobs J] [--tolerance PCT]
#                   [--tool PATH] [--game DIR] [--keep DIR]
#
# Defaults: 10 seasons, seeds 1 to 6, 4 jobs, 25 % tolerance, the tool and the
# game tree of build/. The counts are read right after every season turn; a
# count may move by the tolerance (or by 60, whichever is larger) from its
# value at the first turn; squads never hold more than 50 players.
set -u

here=$(cd "$(dirname "$0")/.." && pwd)
seasons=10
seeds="1 2 3 4 5 6"
jobs=4
tolerance=25
tool="$here/build/bin/worldtool"
game="$here/build/game"
keep=""

while [ $# -gt 0 ]; do
    case "$1" in
    --seasons) seasons=$2 ;;
    --seeds) seeds=$2 ;;
    --jobs) jobs=$2 ;;
    --tolerance) tolerance=$2 ;;
    --tool) tool=$2 ;;
    --game) game=$2 ;;
    --keep) keep=$2 ;;
    *)
        sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//' >&2
        exit 2
        ;;
    esac
    [ $# -ge 2 ] || { echo "soak: $1 wants a value" >&2; exit 2; }
    shift 2
done
for number in "$seasons" "$jobs" "$tolerance"; do
    case "$number" in
    '' | *[!0-9]*) echo "soak: \"$number\" is not a whole number" >&2; exit 2 ;;
    esac
done
[ -x "$tool" ] || { echo "soak: no worldtool at $tool (build first)" >&2; exit 2; }
[ -f "$game/Data/Data.bin" ] || { echo "soak: $game holds no Data/Data.bin" >&2; exit 2; }

if [ -n "$keep" ]; then
    mkdir -p "$keep" || exit 2
    work=$keep
else
    work=$(mktemp -d /tmp/soak_XXXXXX) || exit 2
    trap 'rm -rf "$work"' EXIT
fi
# Ten days past the anniversary, so that the last season's turn is seen too.
days=$((seasons * 365 + 10))

run_seed() {
    local seed=$1
    (cd "$game" && "$tool" run --data . --days "$days" --seed "$seed" --out "$work/world$seed.bin" \
        --seasons "$work/seasons$seed.txt") >"$work/summary$seed.txt" 2>&1 || return 1
    # The resave runs where the name and table files are.
    (cd "$game" && "$tool" resave "$work/world$seed.bin" "$work/resaved$seed.bin") >"$work/resave$seed.txt" 2>&1
}

echo "soak: $seasons seasons, seeds $seeds, in $work"
running=0
for seed in $seeds; do
    run_seed "$seed" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait

failed=0
for seed in $seeds; do
    echo
    echo "seed $seed: $(cat "$work/summary$seed.txt" 2>/dev/null)"
    if [ ! -s "$work/seasons$seed.txt" ]; then
        echo "  FAIL: the run wrote no head counts"
        failed=1
        continue
    fi
    awk -v tolerance="$tolerance" -v seasons="$seasons" '
        function field(name,    i) {
            for (i = 1; i < NF; i += 2)
                if ($i == name)
                    return $(i + 1)
            return ""
        }
        BEGIN {
            split("players squad_mean squad_max youths listed loan_listed youth_pool manager_pool staff_pool", watched, " ")
            printf "  %-10s %7s %5s %5s %5s %6s %6s %5s %5s %5s %5s %6s %5s %5s\n", "date", "players", "min", "mean",
                "max", "youths", "listed", "loans", "ypool", "mpool", "spool", "rplay", "rman", "rstaf"
        }
        $1 != "turn" { next }
        {
            printf "  %-10s %7s %5s %5s %5s %6s %6s %5s %5s %5s %5s %6s %5s %5s\n", field("date"), field("players"),
                field("squad_min"), field("squad_mean"), field("squad_max"), field("youths"), field("listed"),
                field("loan_listed"), field("youth_pool"), field("manager_pool"), field("staff_pool"),
                field("retired_players"), field("retired_managers"), field("retired_staff")
            ++lines
            if (field("squad_max") + 0 > 50)
                problems = problems sprintf("  FAIL %s: a squad of %s players\n", field("date"), field("squad_max"))
            for (w in watched) {
                name = watched[w]
                value = field(name) + 0
                if (lines == 1) {
                    first[name] = value
                    continue
                }
                slack = first[name] * tolerance / 100
                if (slack < 60)
                    slack = 60
                if (value > first[name] + slack || value < first[name] - slack)
                    problems = problems sprintf("  FAIL %s: %s %s drifted from %s\n", field("date"), name, value,
                        first[name])
            }
        }
        END {
            if (lines < seasons)
                problems = problems sprintf("  FAIL: %d lines of head counts for %d seasons\n", lines, seasons)
            printf "%s", problems
            exit problems != ""
        }' "$work/seasons$seed.txt" || failed=1
    if [ -s "$work/resaved$seed.bin" ]; then
        echo "  resave: $(stat -c %s "$work/world$seed.bin") bytes saved again as $(stat -c %s "$work/resaved$seed.bin")"
    else
        echo "  FAIL resave: $(cat "$work/resave$seed.txt")"
        failed=1
    fi
done
echo
if [ "$failed" -ne 0 ]; then
    echo "soak: FAILED"
    exit 1
fi
echo "soak: steady"
