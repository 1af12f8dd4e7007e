#!/usr/bin/env bash
# Times the work that grows with a lab's years of data, each against a yardstick measured in
# the same run, and prints the ratios:
#   "Alle Exportieren" of all athletes      against the sqlite3 command line writing the same lines
#                                            with one join (time; and the peak memory), the
#                                            core alone and as the main window runs it (from
#                                            the save dialog's answer to the finished file,
#                                            with its progress dialog)
#   the table for analysis tools (CSV)      against the sqlite3 command line writing the same
#   and the workbook of all athletes         rows with -csv (time; and the peak memory)
#   the start with an athlete of 999        against a start on an empty database (CPU time of
#                                            the window's thread)
#   measurements selected
#   disk syncs per recorded jump            against one commit with one sync
#   the check of the file at every start    against the sqlite3 command line's quick_check
#   (PRAGMA quick_check, on a thread of its own) and the day's backup (SQLite's online backup
#   with integrity_check of the copy), on the larger database
#   the analysis window and the PDF report   against a start on an empty database run just
#   of the athlete with 999 measurements     before each (CPU time, beyond the start on the same
#                                            database; the least and the median ratio)
#   2,000 results sent back to back over a  the jumps a second the main window records over the
#   pseudo-terminal to the main window       first and the last 500 (their ratio shows whether
#                                            a jump costs more as the series grows), against
#                                            the store alone recording as many on the same
#                                            directory; none may be lost
#   from a result's last byte to its jump    median and 95th percentile of 200 results sent
#   row's commit                             over a pseudo-terminal at gaps of 300 to 900 ms,
#                                            with the line's notice and with the timer alone
#   the start with the ranking of a group   against a start on an empty database run just
#                                            before each (CPU time; the least and the median)
#   of 200 athletes x 50 measurements
#   over the last year
#   the start with an athlete of 999        against a start on an empty database on the same
#   measurements on a PostgreSQL server      server (wall time to the window shown), on the
#                                            private server the tests use; there also the PDF
#                                            report and the ranking above, in wall time
# on two databases made with the program's own schema: 1,000 athletes x 50 measurements and
# 2,000 x 125 (a third of them series of 5 to 15 jumps; athlete 1 has 999 measurements).
# Not part of the test suite. Usage: bench/run.sh [RUNS] [PART ...]   (default 3 runs, the
# median taken, and every part: export tables check analysis ranking syncs series latency
# server)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tools/setup.sh"
kalvero_install
kalvero_install sqlite3 strace time
runs="${1:-3}"
shift || true
parts=("$@")
# Whether a part is to be run: every one when none is named.
want() {
    [ ${#parts[@]} -eq 0 ] && return 0
    local p
    for p in "${parts[@]}"; do [ "$p" = "$1" ] && return 0; done
    return 1
}
build="$root/build-bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALVERO_BENCH=ON \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target kalvero_bench >/dev/null
bench="$build/kalvero_bench"
data="$build/data"
mkdir -p "$data"
export QT_QPA_PLATFORM=offscreen

# median of the given numbers
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Runs a command $runs times; sets elapsed (s), cpu (user+sys, s) and peak (MB) to the medians.
measure() {
    local e=() c=() m=() times="$data/times"
    for _ in $(seq "$runs"); do
        /usr/bin/time -o "$times" -f "%e %U %S %M" "$@" >/dev/null 2>&1
        read -r el us sy kb <"$times"
        e+=("$el"); c+=("$(echo "$us + $sy" | bc -l)"); m+=("$(echo "$kb / 1024" | bc -l)")
    done
    elapsed=$(median "${e[@]}"); cpu=$(median "${c[@]}"); peak=$(median "${m[@]}")
}

ratio() { echo "scale=2; $1 / $2" | bc -l; }

# The CPU time a start of the main window takes, as the program itself counts it; the median.
start_cpu() {
    local c=()
    for _ in $(seq "$runs"); do c+=("$("$bench" start "$1" 2>/dev/null | tail -n 1)"); done
    median "${c[@]}"
}

key="(CASE WHEN u.Nummer <= 999 THEN u.Ref_ID * 1000 + u.Nummer ELSE -(u.Ref_ID * 1000000 + u.Nummer) END)"
join="SELECT s.Name, s.Vorname, strftime('%d.%m.%Y', u.Datum), strftime('%H:%M:%S', u.Datum),
 printf('%.3f', m.SZ), printf('%.3f', m.FZ), printf('%.3f', m.Eff),
 printf('%.3f', 9.81 * m.FZ * m.FZ / 8000000.0 * 100) FROM sportler s
 JOIN units u ON u.Ref_ID = s.ID JOIN mr m ON m.Serie = $key ORDER BY s.ID, u.ID, m.Anzahl"

empty="$data/empty"
rm -rf "$empty"; mkdir -p "$empty"
"$bench" start "$empty" >/dev/null 2>&1 # creates the empty database
empty_cpu=$(start_cpu "$empty")
for size in "1000 50" "2000 125"; do
    set -- $size
    dir="$data/db-$1x$2"
    if [ ! -f "$dir/qrv.sqlite" ]; then
        mkdir -p "$dir"
        "$bench" make-database "$dir" "$1" "$2"
    fi
done

if want export; then
printf '%-22s %10s %10s %8s %9s %12s %10s %8s\n' database jumps export sqlite3 ratio "peak MB" start ratio
for size in "1000 50" "2000 125"; do
    set -- $size
    dir="$data/db-$1x$2"
    jumps=$(sqlite3 "$dir/qrv.sqlite" "SELECT COUNT(*) FROM mr")
    measure "$bench" export "$dir" "$data/export.txt"; export_s=$elapsed; export_mb=$peak
    measure sqlite3 -batch -noheader -separator ';' "$dir/qrv.sqlite" "$join"; sqlite_s=$elapsed
    start_s=$(start_cpu "$dir")
    printf '%-22s %10s %9.2fs %7.2fs %8sx %12.0f %9.3fs %7sx\n' "$1 x $2" "$jumps" \
        "$export_s" "$sqlite_s" "$(ratio "$export_s" "$sqlite_s")" "$export_mb" \
        "$start_s" "$(ratio "$start_s" "$empty_cpu")"
done
printf 'empty start: %.3fs CPU\n' "$empty_cpu"
fi

# "Alle Exportieren" as the window runs it: the seconds from the save dialog's answer to the
# finished file, as the program counts them; the median.
window_export() {
    local t=()
    for _ in $(seq "$runs"); do
        t+=("$("$bench" export-window "$1" "$data/export-window.txt" 2>/dev/null | tail -n 1)")
    done
    median "${t[@]}"
}
# The table for analysis tools: the same rows from the sqlite3 command line with -csv.
tidy="SELECT s.ID, s.Name, s.Vorname, s.Geb,
 CASE s.Geschl WHEN 0 THEN 'male' WHEN 1 THEN 'female' END, u.ID, u.Nummer, u.Datum, t.Test,
 t.Fallhoehe, CASE WHEN u.FZ > 1 THEN 'series' ELSE 'single' END, m.Anzahl, m.SZ, m.FZ,
 9.81 * m.FZ * m.FZ / 8000000.0 * 100, 9.81 * m.FZ * m.FZ / 8000000.0 / (m.SZ / 1000.0),
 m.FZ * m.FZ / m.SZ / 1000.0, x.Unit_ID IS NOT NULL, x.Grund, 60, 330, 200, 1000
 FROM sportler s JOIN units u ON u.Ref_ID = s.ID JOIN mr m ON m.Serie = $key
 LEFT JOIN units_test t ON t.Unit_ID = u.ID
 LEFT JOIN mr_ausschluss x ON x.Unit_ID = u.ID AND x.Anzahl = m.Anzahl
 ORDER BY s.ID, u.ID, m.Anzahl"
if want tables; then
printf '\n%-22s %12s %8s %8s %12s %12s %8s %8s\n' database "window exp." sqlite3 ratio \
    "table (CSV)" "sqlite3 -csv" ratio "peak MB"
for size in "1000 50" "2000 125"; do
    set -- $size
    dir="$data/db-$1x$2"
    window_s=$(window_export "$dir")
    measure sqlite3 -batch -noheader -separator ';' "$dir/qrv.sqlite" "$join"; sqlite_s=$elapsed
    measure "$bench" tidy-csv "$dir" "$data/table.csv"; csv_s=$elapsed; csv_mb=$peak
    measure sqlite3 -batch -header -csv "$dir/qrv.sqlite" "$tidy"; sqlite_csv_s=$elapsed
    printf '%-22s %11.2fs %7.2fs %7sx %11.2fs %11.2fs %7sx %8.0f\n' "$1 x $2" "$window_s" \
        "$sqlite_s" "$(ratio "$window_s" "$sqlite_s")" "$csv_s" "$sqlite_csv_s" \
        "$(ratio "$csv_s" "$sqlite_csv_s")" "$csv_mb"
done
# The workbook in libxlsxwriter's constant-memory mode, against the same command line.
for size in "1000 50" "2000 125"; do
    set -- $size
    dir="$data/db-$1x$2"
    measure "$bench" workbook "$dir" "$data/table.xlsx"; book_s=$elapsed; book_mb=$peak
    measure sqlite3 -batch -header -csv "$dir/qrv.sqlite" "$tidy"; sqlite_csv_s=$elapsed
    printf 'workbook %s x %s: %.2fs, sqlite3 -csv %.2fs, ratio %sx, peak %.0f MB\n' "$1" "$2" \
        "$book_s" "$sqlite_csv_s" "$(ratio "$book_s" "$sqlite_csv_s")" "$book_mb"
done
fi

# The check at start and the day's backup, both off the window's thread, on the larger database.
if want check; then
large="$data/db-2000x125"
measure "$bench" quick-check "$large"; check_s=$elapsed
measure sqlite3 "$large/qrv.sqlite" "PRAGMA quick_check"; sqlite_check_s=$elapsed
rm -f "$data/backup.sqlite"
measure "$bench" backup "$large" "$data/backup.sqlite"; backup_s=$elapsed
printf 'check at start (2000 x 125): %.2fs, sqlite3 quick_check %.2fs, ratio %sx; day'"'"'s backup %.2fs\n' \
    "$check_s" "$sqlite_check_s" "$(ratio "$check_s" "$sqlite_check_s")" "$backup_s"
fi
# One figure of the helper: the last line it prints.
one() { "$bench" "$@" 2>/dev/null | tail -n 1; }
minimum() { printf '%s\n' "$@" | sort -g | head -n 1; }
# Runs the yardstick and the figure (two commands, each printing a number) one after the other,
# $runs times, so that each ratio compares runs under the same load; sets lowest and middle to
# the least and the median ratio, and yard and figure to the medians of the two.
paired() {
    local r=() a=() b=() x y
    for _ in $(seq "$runs"); do
        x=$($1); y=$($2)
        a+=("$x"); b+=("$y"); r+=("$(echo "scale=4; $y / $x" | bc -l)")
    done
    lowest=$(minimum "${r[@]}"); middle=$(median "${r[@]}")
    yard=$(median "${a[@]}"); figure=$(median "${b[@]}")
}
# least and median ratio, two decimals
ratios() { printf 'ratio %.2fx least, %.2fx median of %s runs' "$lowest" "$middle" "$runs"; }

# The analysis window and the report of athlete 1 (999 measurements), beyond the start, each
# against an empty start just before it.
if want analysis; then
big="$data/db-2000x125"
empty_start() { one start "$empty"; }
analysis_beyond() { echo "$(one analysis "$big") - $(one start "$big")" | bc -l; }
report_beyond() { echo "$(one report "$big" "$data/report.pdf") - $(one start "$big")" | bc -l; }
paired empty_start analysis_beyond
printf 'analysis window, 999 measurements: %.3fs CPU, empty start %.3fs, %s\n' "$figure" \
    "$yard" "$(ratios)"
paired empty_start report_beyond
printf 'PDF report, 999 measurements:      %.3fs CPU, empty start %.3fs, %s\n' "$figure" \
    "$yard" "$(ratios)"
fi
# The ranking of a squad: 200 athletes with 50 measurements each over the last year, all in one
# group, ranked over that year. Made anew each time: its dates end today.
if want ranking; then
squad="$data/squad-200x50"
rm -rf "$squad"; mkdir -p "$squad"
"$bench" make-squad "$squad" 200 50
empty_start() { one start "$empty"; }
squad_ranking() { one ranking "$squad"; }
paired empty_start squad_ranking
printf 'start and ranking of 200 x 50 over a year: %.3fs CPU, empty start %.3fs, %s\n' \
    "$figure" "$yard" "$(ratios)"
fi

# Disk syncs of 200 recorded jumps, counted by strace.
if want syncs; then
syncdir="$data/syncs"
rm -rf "$syncdir"; mkdir -p "$syncdir"
"$bench" record "$syncdir" 1 >/dev/null
syncs=$(strace -f -c -e trace=fsync,fdatasync "$bench" record "$syncdir" 200 2>&1 >/dev/null |
    awk '$NF == "fsync" || $NF == "fdatasync" {n += $4} END {print n + 0}')
printf 'disk syncs per recorded jump: %s (one commit with one sync: 1)\n' "$(ratio "$syncs" 200)"
fi

# A series of 2,000 results back to back in the main window, against the store alone. Its
# file is in memory where the machine offers it: what is timed is the window, not the disk's
# syncs.
if want series; then
serdir="$data/series"
[ -d /dev/shm ] && serdir="/dev/shm/kalvero-bench-series-$$"
rm -rf "$serdir"; mkdir -p "$serdir"
read -r first last all stored grid chart < <("$bench" series "$serdir" 2000 2>/dev/null)
store_start=$(date +%s.%N)
"$bench" record "$serdir" 2000
store_rate=$(echo "2000 / ($(date +%s.%N) - $store_start)" | bc -l)
rm -rf "$serdir"
printf 'series of 2000 back to back: %s jumps/s over the first 500, %s over the last 500 ' \
    "$first" "$last"
printf '(ratio %s), %s over all; store alone %.0f jumps/s (window/store %s); ' \
    "$(ratio "$last" "$first")" "$all" "$store_rate" "$(ratio "$all" "$store_rate")"
printf 'recorded %s, in the grid %s, in the chart %s\n' "$stored" "$grid" "$chart"
fi

# From a result's last byte to its committed jump row: 200 results, once as the program runs
# (the line tells when bytes arrive) and once with the 100 ms timer alone.
if want latency; then
latdir="$data/latency"
rm -rf "$latdir"; mkdir -p "$latdir"
read -r notified_median notified_p95 < <("$bench" latency "$latdir" notified 200)
read -r timer_median timer_p95 < <("$bench" latency "$latdir" timer 200)
printf 'last byte to commit, 200 results: median %s ms, 95th percentile %s ms ' \
    "$notified_median" "$notified_p95"
printf '(timer alone: median %s ms, 95th percentile %s ms)\n' "$timer_median" "$timer_p95"
fi

# The start on a PostgreSQL server: the database of 2,000 x 125 and an empty one on the private
# server the tests use, wall time from the program's start to the window shown, against the
# same on the files.
if want server; then
server="$data/postgres"
"$root/tests/support/postgres-server.sh" start "$server"
trap '"$root/tests/support/postgres-server.sh" stop "$server"' EXIT
base="$(cat "$server/connection")"
psql -q "$base" -c "CREATE DATABASE bench_empty" -c "CREATE DATABASE bench_large"
empty_url="$(echo "$base" | sed 's|/postgres?|/bench_empty?|')"
large_url="$(echo "$base" | sed 's|/postgres?|/bench_large?|')"
"$bench" make-database "$large_url" 2000 125
"$bench" start-wall "$empty_url" >/dev/null 2>&1 # sets the tables up
start_wall() {
    local t=()
    for _ in $(seq "$runs"); do t+=("$("$bench" start-wall "$1" 2>/dev/null | tail -n 1)"); done
    median "${t[@]}"
}
server_empty=$(start_wall "$empty_url")
server_large=$(start_wall "$large_url")
file_empty=$(start_wall "$empty")
file_large=$(start_wall "$data/db-2000x125")
printf 'start with an athlete of 999 measurements (2000 x 125), wall time to the window shown:\n'
printf '  PostgreSQL server: %.3fs, empty start %.3fs, ratio %sx\n' "$server_large" \
    "$server_empty" "$(ratio "$server_large" "$server_empty")"
printf '  file:              %.3fs, empty start %.3fs, ratio %sx\n' "$file_large" "$file_empty" \
    "$(ratio "$file_large" "$file_empty")"
# The PDF report of athlete 1 and the ranking of the squad on the server, in wall time: the
# report from the action to the finished file, the ranking with the start to the window shown;
# each against an empty start on the server just before it.
psql -q "$base" -c "CREATE DATABASE bench_squad"
squad_url="$(echo "$base" | sed 's|/postgres?|/bench_squad?|')"
"$bench" make-squad "$squad_url" 200 50
server_empty_start() { one start-wall "$empty_url"; }
server_report() { one report-wall "$large_url" "$data/report-server.pdf"; }
server_ranking() { one ranking-wall "$squad_url"; }
paired server_empty_start server_report
printf '  PDF report, 999 measurements: %.3fs, empty start %.3fs, %s\n' "$figure" "$yard" \
    "$(ratios)"
paired server_empty_start server_ranking
printf '  start and ranking of 200 x 50: %.3fs, empty start %.3fs, %s\n' "$figure" "$yard" \
    "$(ratios)"
fi
