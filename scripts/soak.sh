#!/usr/bin/env bash
# A long soak of the world: `worldtool run` over many seasons for several
# seeds, printing the head counts right after every season turn (players and
# squad sizes at clubs, club youths, the list and loan markets, the pools and
# the retired files) and failing when a watched count drifts. Every saved
# world is then saved again with `worldtool resave`. Not part of `make test`:
# ten seasons take half a minute or so per seed.
#
#   scripts/soak.sh [--seasons N] [--seeds "1 2 3"] [--jobs J] [--tolerance PCT]
#                   [--watch "players listed ..."] [--tool PATH] [--game DIR] [--keep DIR]
#
# Defaults: 10 seasons, seeds 1 to 6, 4 jobs, 40 % tolerance, the tool and the
# game tree of build/, watching players, squad_mean, squad_max, listed and
# loan_listed (any name of the head counts line may be watched). The turns are
# read in thirds: in the first the world settles from its generated start (its
# contracts run out, its first listings run their course), the second sets
# each watched count's band, and every turn of the last third must stay within
# the tolerance of that band (counts other than squad sizes may always move by
# 60; the market lists may shrink freely). No squad may hold more than 50
# players.
set -u

here=$(cd "$(dirname "$0")/.." && pwd)
seasons=10
seeds="1 2 3 4 5 6"
jobs=4
tolerance=40
tool="$here/build/bin/worldtool"
game="$here/build/game"
keep=""
watch="players squad_mean squad_max listed loan_listed"

while [ $# -gt 0 ]; do
    case "$1" in
    --seasons) seasons=$2 ;;
    --seeds) seeds=$2 ;;
    --jobs) jobs=$2 ;;
    --tolerance) tolerance=$2 ;;
    --tool) tool=$2 ;;
    --game) game=$2 ;;
    --keep) keep=$2 ;;
    --watch) watch=$2 ;;
    *)
        sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//' >&2
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
[ "$seasons" -ge 3 ] || { echo "soak: --seasons wants 3 or more (the turns are judged in thirds)" >&2; exit 2; }
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
    awk -v tolerance="$tolerance" -v seasons="$seasons" -v watch="$watch" -v third="$((seasons / 3))" '
        function field(name,    i) {
            for (i = 2; i < NF; i += 2)
                if ($i == name)
                    return $(i + 1)
            return ""
        }
        BEGIN {
            watchedCount = split(watch, watched, " ")
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
            for (w = 1; w <= watchedCount; ++w) {
                name = watched[w]
                if (field(name) == "") {
                    problems = problems sprintf("  FAIL %s: no count named %s\n", field("date"), name)
                    continue
                }
                value = field(name) + 0
                if (lines <= third)
                    continue
                if (lines <= 2 * third) {
                    if (lines == third + 1 || value < low[name])
                        low[name] = value
                    if (lines == third + 1 || value > high[name])
                        high[name] = value
                    continue
                }
                slackHigh = high[name] * tolerance / 100
                slackLow = low[name] * tolerance / 100
                # Small counts may move by a few dozen; squad sizes by the tolerance only.
                if (name !~ /^squad_/ && slackHigh < 60)
                    slackHigh = 60
                if (name !~ /^squad_/ && slackLow < 60)
                    slackLow = 60
                shrinkable = name == "listed" || name == "loan_listed"
                if (value > high[name] + slackHigh || (!shrinkable && value < low[name] - slackLow))
                    problems = problems sprintf("  FAIL %s: %s %s left the band %s-%s of the middle turns\n",
                        field("date"), name, value, low[name], high[name])
            }
        }
        END {
            if (lines < seasons)
                problems = problems sprintf("  FAIL: %d season turns for %d seasons\n", lines, seasons)
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
