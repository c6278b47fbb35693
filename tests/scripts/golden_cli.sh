#!/usr/bin/env bash
# veltrix-cli on a small committed program folder (tests/data/golden/program: a
# stored week of three races, analysis files, one race's odds, forecast,
# result, bet list and marks, one race file of the results database), each
# output compared with its committed expected file. An output that changes on
# purpose is written back with --update (or VELTRIX_UPDATE_GOLDEN=1); review the
# diff before committing it.
# Usage: golden_cli.sh BUILD_DIR SOURCE_DIR [--update]
set -euo pipefail
build=$1
src=$2
update=${VELTRIX_UPDATE_GOLDEN:-0}
[ "${3:-}" = "--update" ] && update=1
. "$src/tests/scripts/lib/runner.sh"
golden="$src/tests/data/golden"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

race=2026121206050309   # the race with per-race files
horse=2021100805        # past runs with merged figures, one run without them
debut=2024102695        # a runner without past runs
pastrace=2026110705020112  # a past race of $horse in the results database (data/2026)

# expected file | arguments
checks=(
    "load.txt|load"
    "card_sheet1.txt|card $race --sheet 1"
    "card_sheet2.txt|card $race --sheet 2"
    "card_sheet3.txt|card $race --sheet 3"
    "odds.txt|odds $race"
    "history.txt|history $horse"
    "history_debut.txt|history $debut"
    "card_calculated_sheet1.txt|card $race --sheet 1 --calculate"
    "card_calculated_sheet2.txt|card $race --sheet 2 --calculate"
    "card_calculated_sheet3.txt|card $race --sheet 3 --calculate"
    "labels_calculated.txt|labels $race --calculate"
    "pastruns_calculated.txt|pastruns $race 3 --calculate --rule TOP3 --box ダ1400=1 --period 300"
    "week_calculated.txt|week --calculate"
    "pane.txt|pane $race 2"
    "pane_calculated_toggled.txt|pane $race 2 --calculate --toggle 1 --toggle 3"
    "graph_timeline_calculated.txt|graph timeline $race 7 --calculate --option 1"
    "graph_timeline_rl.txt|graph timeline $race 2 --option 2 --rl --calculate --period 300"
    "graph_histogram_calculated.txt|graph histogram $race 5 --calculate"
    "simulate_kekka.txt|simulate $race kekka --seed 1"
    "simulate_yoso_calculated.txt|simulate $race yoso --calculate --seed 1 --keys 1=up,12=none,60=left,300=none"
    "simulate_yoso_paused.txt|simulate $race yoso --calculate --keys 1=down,4=none,80=left+right,81=none,130=left+right,131=none"
    "race_model.txt|race-model $pastrace ネンホソヴ"
    "simulate_model.txt|simulate-model $pastrace --seed 1"
    "graph_pace.txt|graph pace $race"
    "graph_pace_calculated.txt|graph pace $race --calculate"
    "graph_race_calculated.txt|graph race $race --calculate"
    "graph_history_calculated_toggled.txt|graph history $race 2 --calculate --toggle 1"
)

failed=0
for check in "${checks[@]}"; do
    expected=${check%%|*}
    args=${check#*|}
    # A fresh copy each time: a reader that meets a damaged file deletes it.
    rm -rf "$work/p"
    cp -r "$golden/program" "$work/p"
    # shellcheck disable=SC2086
    if ! "${cli[@]}" --root "$work/p" $args >"$work/out" 2>"$work/err"; then
        echo "FAIL: veltrix-cli $args exited non-zero: $(cat "$work/err")"
        failed=1
        continue
    fi
    if [ "$update" = 1 ]; then
        cp "$work/out" "$golden/expected/$expected"
        echo "updated: $expected"
    elif ! diff -u "$golden/expected/$expected" "$work/out" --label "expected/$expected" --label "veltrix-cli $args"; then
        echo "FAIL: veltrix-cli $args differs from expected/$expected"
        failed=1
    fi
done
[ "$failed" = 0 ] || exit 1
echo "golden_cli: ok"
