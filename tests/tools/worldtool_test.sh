#!/bin/bash
# Drives the worldtool binary: worldtool_test.sh WORLDTOOL CASE
set -u
tool=$1
case=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

fail() {
    echo "FAIL ($case): $*"
    exit 1
}

# Runs the tool, keeping stdout, stderr and the exit status.
run() {
    "$tool" "$@" >"$work/out" 2>"$work/err"
    status=$?
}

expect_status() {
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1 for: $2 (stderr: $(cat "$work/err"))"
}

# Windows-1251 text from printf escapes, CR LF after every line.
crlf() {
    for line in "$@"; do printf '%b\r\n' "$line"; done
}

case $case in
usage)
    for args in "" "frobnicate" "scan" "scan $work/missing" "resave $work" \
        "export $work $work/o --utf8" "generate $work/g" "generate $work/g --zones 0" \
        "generate $work/g --zones x" "generate $work/g --zones 2 --seed -1"; do
        # shellcheck disable=SC2086
        run $args
        expect_status 2 "worldtool $args"
        grep -q "^usage:" "$work/err" || fail "no usage text for: worldtool $args"
        [ -e "$work/g" ] && fail "a usage error wrote files: worldtool $args"
    done
    run --help
    expect_status 0 "--help"
    grep -q "worldtool scan DIR" "$work/out" || fail "--help prints no usage"
    ;;

scan_broken)
    ws=$work/ws
    mkdir -p "$ws"/{ZON,WLD,OBJ,MOB,SHP,TRG}
    # A header that is not a number (line 2).
    crlf "* Velmora object file v1.0" "#1x0" "sword~" >"$ws/OBJ/1.obj"
    # A good room file whose layout file is missing.
    crlf "* Velmora room file v1.0" "#100" "Hall~" "A hall." "~" "1 0 1" "S" "\$" "\$" \
        >"$ws/WLD/1.wld"
    # A numeric field that is not a number (line 4).
    crlf "* Velmora trigger file v1.0" "#100" "Greet~" "0 b0 x" "~" "~" >"$ws/TRG/1.trg"
    # A good zone and one with an empty command line (line 4).
    crlf "#1" "Test~" "199 10 2" "O 0 5 1 100 100" "S" "\$" >"$ws/ZON/1.zon"
    crlf "#2" "Broken~" "299 10 2" "" "S" "\$" >"$ws/ZON/2.zon"
    # Not a zone file: the wildcard leaves it out.
    echo junk >"$ws/ZON/notes.txt"
    run scan "$ws"
    expect_status 1 "scan of a broken workspace"
    cat >"$work/expected" <<EXPECTED
Не могу загрузить объекты
Файл: $ws/OBJ/1.obj
(Ошибка в строке 2)

Не могу загрузить триггеры
Файл: $ws/TRG/1.trg
(Ошибка в строке 4)

Не могу загрузить зону
Файл: $ws/ZON/2.zon
(Ошибка в строке 4)
EXPECTED
    diff "$work/expected" "$work/err" || fail "stderr differs from the expected messages"
    grep -qx "rooms: 1" "$work/out" || fail "room count: $(cat "$work/out")"
    # A room file without its layout file is no failure: its rooms are not placed.
    grep -qx "Комнаты не расставлены на карте (нет файла карты $ws/WLD/1.map)" "$work/out" ||
        fail "no note of the missing layout: $(cat "$work/out")"
    # The trigger that cannot be read is kept as its text, not as a trigger.
    grep -qx "triggers: 0" "$work/out" || fail "trigger count: $(cat "$work/out")"
    grep -qx "zones: 1 loaded, 1 not loaded" "$work/out" || fail "zone count: $(cat "$work/out")"
    grep -qx "  not loaded: $ws/ZON/2.zon" "$work/out" || fail "failed zone file not listed"
    # The same workspace with its faults repaired loads cleanly.
    crlf "100 40 40 1" >"$ws/WLD/1.map"
    rm "$ws/OBJ/1.obj" "$ws/TRG/1.trg" "$ws/ZON/2.zon"
    run scan "$ws"
    expect_status 0 "scan of a repaired workspace"
    [ -s "$work/err" ] && fail "messages for a clean workspace: $(cat "$work/err")"
    # A zone file that is a folder and a kind folder that is not one are not
    # passed over: each is named and counted as not loaded.
    mkdir "$ws/ZON/3.zon"
    rm -r "$ws/OBJ"
    echo junk >"$ws/OBJ"
    run scan "$ws"
    expect_status 1 "scan with a zone file that is a folder"
    grep -qx "zones: 1 loaded, 2 not loaded" "$work/out" || fail "zone count: $(cat "$work/out")"
    grep -qx "  not loaded: $ws/OBJ" "$work/out" || fail "unread folder not listed: $(cat "$work/out")"
    grep -qx "  not loaded: $ws/ZON/3.zon" "$work/out" || fail "folder zone file not listed"
    grep -qx "Не могу прочитать папку $ws/OBJ" "$work/err" || fail "no folder message: $(cat "$work/err")"
    grep -qx "Файл: $ws/ZON/3.zon" "$work/err" || fail "no zone file message: $(cat "$work/err")"
    ;;

resave_roundtrip)
    run generate "$work/a" --zones 4 --seed 11
    expect_status 0 "generate"
    [ "$(find "$work/a" -type f | wc -l)" -eq 28 ] || fail "generate wrote $(find "$work/a" -type f | wc -l) files"
    run generate "$work/b" --zones 4 --seed 11
    diff -r "$work/a" "$work/b" >/dev/null || fail "the same seed gave different workspaces"
    run generate "$work/c" --zones 4 --seed 12
    diff -r "$work/a" "$work/c" >/dev/null && fail "different seeds gave the same workspace"
    run resave "$work/a" "$work/r"
    expect_status 0 "resave"
    grep -qx "zones: 4 loaded, 0 not loaded" "$work/out" || fail "zones: $(cat "$work/out")"
    # 99 rooms a zone: the server keeps room NN99 for itself and reads no
    # room file of more than 99 rooms.
    grep -qx "rooms: 396" "$work/out" || fail "rooms: $(cat "$work/out")"
    for n in 1 2 3 4; do
        [ "$(grep -c '^#' "$work/a/WLD/$n.wld")" -eq 99 ] || fail "rooms in WLD/$n.wld"
        grep -q "^#${n}99"$'\r$' "$work/a/WLD/$n.wld" && fail "room ${n}99 generated"
    done
    # Nor does it break the server's other rules.
    run check "$work/a" --bases "$(dirname "$0")/../../data/Bases"
    expect_status 0 "check of the generated workspace"
    grep -qx "problems: 0 errors, [0-9]* warnings" "$work/err" || fail "check: $(cat "$work/err")"
    grep -q $'\tunknown-spell$' "$work/out" && fail "generated spells the list does not name"
    diff -r "$work/a" "$work/r" || fail "resave did not reproduce the workspace byte for byte"
    # Every command letter the zone writer produces is there.
    tr -d '\r' <"$work/a/ZON/1.zon" >"$work/zone"
    for letter in O P M G E F R Q D S; do
        grep -q "^$letter " "$work/zone" || grep -qx "$letter" "$work/zone" ||
            fail "no $letter command in the generated zone file"
    done
    ;;

export_koi8)
    ws=$work/ws
    mkdir -p "$ws"/{ZON,WLD,OBJ,MOB,SHP,TRG}
    # Room name: Ё ё А я; three description lines.
    crlf "* Velmora room file v1.0" "#700" "\xa8\xb8\xc0\xff~" "one" "two" "three" "~" "7 0 1" "S" \
        "\$" "\$" >"$ws/WLD/7.wld"
    crlf "700 1 1 1" >"$ws/WLD/7.map"
    crlf "#7" "Zone~" "799 10 2" "S" "\$" "\$" >"$ws/ZON/7.zon"
    run export "$ws" "$work/koi"
    expect_status 0 "export"
    # The server's lower-case folders, each with its index; only the kinds
    # the zone has records of.
    for f in wld/7.wld zon/7.zon; do
        [ -f "$work/koi/$f" ] || fail "export did not write $f"
        grep -q $'\r' "$work/koi/$f" && fail "CR in $f exported with LF line ends"
    done
    for kind in zon wld obj mob shp trg; do
        [ -f "$work/koi/$kind/index" ] || fail "no index in $kind"
    done
    [ "$(cat "$work/koi/wld/index")" = "$(printf '7.wld\n$')" ] || fail "wld index: $(cat "$work/koi/wld/index")"
    [ "$(cat "$work/koi/obj/index")" = "\$" ] || fail "obj index: $(cat "$work/koi/obj/index")"
    [ -e "$work/koi/obj/7.obj" ] && fail "an empty object file was exported"
    [ -e "$work/koi/WLD" ] && fail "an upper-case folder was made"
    [ -e "$work/koi/wld/7.map" ] && fail "the layout file was exported"
    grep -qx "Новый: wld/7.wld" "$work/out" || fail "no change list: $(cat "$work/out")"
    grep -qx "exported into $work/koi: 2 files written (2 new), 0 unchanged, 0 not written" "$work/out" ||
        fail "counts: $(cat "$work/out")"
    grep -qF "$(printf '\xb3\xa3\xe1\xd1~')" "$work/koi/wld/7.wld" || fail "KOI8-R letters: $(od -c "$work/koi/wld/7.wld" | head)"
    printf '#700\n\xb3\xa3\xe1\xd1~\none\ntwo\nthree\n~\n' >"$work/expected"
    head -c "$(stat -c %s "$work/expected")" <(tail -n +2 "$work/koi/wld/7.wld") | cmp -s - "$work/expected" ||
        fail "room lines with bare LF: $(od -c "$work/koi/wld/7.wld" | head)"
    # Again: nothing changed, nothing written.
    run export "$ws" "$work/koi"
    expect_status 0 "export again"
    grep -qx "exported into $work/koi: 0 files written (0 new), 2 unchanged, 0 not written" "$work/out" ||
        fail "counts again: $(cat "$work/out")"

    # With CR LF and Windows-1251 every file is the one the zone save composes.
    run resave "$ws" "$work/saved"
    expect_status 0 "resave"
    run export "$ws" "$work/win" --cp1251 --crlf
    expect_status 0 "export --cp1251 --crlf"
    for f in WLD/7.wld ZON/7.zon; do
        cmp "$work/saved/$f" "$work/win/${f,,}" || fail "CR LF Windows-1251 export of $f differs from the saved file"
    done

    run export "$ws" "$work/winlf" --lf --cp1251
    expect_status 0 "export --cp1251 --lf"
    tr -d '\r' <"$ws/WLD/7.wld" | cmp -s - "$work/winlf/wld/7.wld" || fail "LF Windows-1251 export"

    # A file the server has but its index does not list is not written over:
    # named, status 1; --dry-run lists the same and writes nothing.
    mkdir -p "$work/srv/wld" "$work/srv/zon"
    printf '$\n' >"$work/srv/wld/index"
    printf 'theirs\n' >"$work/srv/wld/7.wld"
    printf '1.zon\n$\n' >"$work/srv/zon/index"
    before=$(cd "$work" && find srv -printf '%p %s %T@\n' | sort | md5sum)
    run export "$ws" "$work/srv" --dry-run
    expect_status 1 "export --dry-run with a file not in the index"
    grep -qx "Не записан: wld/7.wld (есть в папке сервера, но не указан в её index)" "$work/out" ||
        fail "dry run list: $(cat "$work/out")"
    grep -qx "zon/index: добавлены 7.zon" "$work/out" || fail "dry run index: $(cat "$work/out")"
    [ "$before" = "$(cd "$work" && find srv -printf '%p %s %T@\n' | sort | md5sum)" ] || fail "--dry-run wrote"
    run export "$ws" "$work/srv"
    expect_status 1 "export with a file not in the index"
    grep -qx "Не записан файл $work/srv/wld/7.wld: есть в папке сервера, но не указан в её index" "$work/err" ||
        fail "no refusal: $(cat "$work/err")"
    [ "$(cat "$work/srv/wld/7.wld")" = theirs ] || fail "the unlisted file was written over"
    [ "$(cat "$work/srv/zon/index")" = "$(printf '1.zon\n7.zon\n$')" ] || fail "zon index: $(cat "$work/srv/zon/index")"

    # A generated workspace exports without a single CR; an existing file
    # in the way of an export file is reported and the rest still written.
    run generate "$work/g" --zones 2 --seed 3
    mkdir -p "$work/gx/WLD/1.wld"
    run export "$work/g" "$work/gx"
    expect_status 1 "export over a folder in the way"
    grep -qx "Не могу сохранить файл $work/gx/WLD/1.wld: на этом месте папка" "$work/err" ||
        fail "no save message: $(cat "$work/err")"
    [ -f "$work/gx/zon/1.zon" ] || fail "the zone file was not written after the failure"
    [ -n "$(grep -rl $'\r' "$work/gx")" ] && fail "CR in a generated LF export"
    # 11 of the 12 files, and the indexes of the five folders made (WLD had none).
    [ "$(find "$work/gx" -type f | wc -l)" -eq 16 ] || fail "files exported: $(find "$work/gx" -type f)"
    ;;

export_server)
    # A copy of the real sample, imported and given a new zone: the dry run
    # lists the new zone's files and their index lines and writes nothing.
    sample=$(dirname "$0")/../../../shared/realworld/world
    if [ ! -d "$sample" ]; then
        echo "no real server world at $sample (the sample is not here): skipped"
        exit 0
    fi
    cp -r "$sample" "$work/srv"
    chmod -R u+w "$work/srv"
    run import "$work/srv" "$work/ws"
    expect_status 0 "import"
    crlf "#555" "New~" "55599 10 2" "S" "\$" >"$work/ws/ZON/555.zon"
    crlf "#55500" "Hall~" "~" "555 0 0" "S" "\$" >"$work/ws/WLD/555.wld"
    before=$(cd "$work" && find srv -printf '%p %s %T@\n' | sort | md5sum)
    run export "$work/ws" "$work/srv" --dry-run
    expect_status 0 "export --dry-run"
    for line in "Новый: zon/555.zon" "Новый: wld/555.wld" "zon/index: добавлены 555.zon" \
        "wld/index: добавлены 555.wld"; do
        grep -qx "$line" "$work/out" || fail "the dry run does not list \"$line\""
    done
    grep -q "^Файлов: новых 2, " "$work/out" || fail "counts: $(grep "^Файлов" "$work/out")"
    [ "$before" = "$(cd "$work" && find srv -printf '%p %s %T@\n' | sort | md5sum)" ] || fail "--dry-run wrote"
    ;;

save_failures)
    run generate "$work/g" --zones 2 --seed 5
    expect_status 0 "generate"
    # A write-protected file in the way is left as it is, named, and fails
    # the run; --force writes over it and it stays write-protected.
    mkdir -p "$work/r/WLD" "$work/x/ZON"
    printf 'mine\r\n' >"$work/r/WLD/1.wld"
    printf 'mine\n' >"$work/x/ZON/2.zon"
    chmod 444 "$work/r/WLD/1.wld" "$work/x/ZON/2.zon"
    for command in resave export; do
        if [ $command = resave ]; then
            out=$work/r file=WLD/1.wld line="Не могу сохранить комнаты в файл $work/r/WLD/1.wld"
            total="saved: 1 of 2 zones, 1 files not written" done="saved: 2 zones"
        else
            out=$work/x file=ZON/2.zon line="Не могу сохранить файл $work/x/ZON/2.zon"
            total="exported into $out: 11 files written (11 new), 0 unchanged, 1 not written"
            done="exported into $out: 1 files written (0 new), 11 unchanged, 0 not written"
        fi
        before=$(cat "$out/$file")
        run $command "$work/g" "$out"
        expect_status 1 "$command over a write-protected file"
        grep -qx "$line: защищён от записи" "$work/err" || fail "$command: $(cat "$work/err")"
        grep -q -- "--force" "$work/err" || fail "$command: no hint at --force: $(cat "$work/err")"
        grep -qx "$total" "$work/out" || fail "$command counts: $(cat "$work/out")"
        [ "$(cat "$out/$file")" = "$before" ] || fail "$command replaced the write-protected $file"
        run $command "$work/g" "$out" --force
        expect_status 0 "$command --force"
        grep -qx "$done" "$work/out" || fail "$command --force counts: $(cat "$work/out")"
        [ "$(cat "$out/$file")" = "$before" ] && fail "$command --force left $file"
        [ "$(stat -c %a "$out/$file")" = 444 ] || fail "$command --force changed the mode of $file"
    done
    cmp "$work/g/WLD/1.wld" "$work/r/WLD/1.wld" || fail "resave --force wrote another text"

    # Every file that cannot be written is one line with its path and reason.
    mkdir -p "$work/f/WLD/1.wld" "$work/f/OBJ/2.obj"
    run resave "$work/g" "$work/f"
    expect_status 1 "resave with folders in the way"
    printf '%s\n' "Не могу сохранить комнаты в файл $work/f/WLD/1.wld: на этом месте папка" \
        "Не могу сохранить объекты в файл $work/f/OBJ/2.obj: на этом месте папка" >"$work/expected"
    sort "$work/err" | diff "$work/expected" - || fail "failure lines differ"
    grep -qx "saved: 0 of 2 zones, 2 files not written" "$work/out" || fail "counts: $(cat "$work/out")"

    # A full disk (a small file system of our own, where the system lets us
    # mount one): a line for each file it could not take.
    mkdir "$work/full"
    if unshare -m true 2>/dev/null; then
        unshare -m bash -c 'mount -t tmpfs -o size=64k none "$1" && "$2" resave "$3" "$1/out" >"$4/out" 2>"$4/err"; echo $? >"$4/status"' \
            - "$work/full" "$tool" "$work/g" "$work" || fail "no small file system"
        [ "$(cat "$work/status")" -eq 1 ] || fail "resave onto a full disk: status $(cat "$work/status")"
        failed=$(wc -l <"$work/err")
        [ "$failed" -gt 0 ] || fail "nothing failed on a full disk"
        [ "$(grep -c ": нет места на диске$" "$work/err")" -eq "$failed" ] || fail "reasons: $(cat "$work/err")"
        grep -qx "saved: [01] of 2 zones, $failed files not written" "$work/out" || fail "counts: $(cat "$work/out")"
    else
        echo "no mount namespace here: the full disk part skipped"
    fi
    ;;

export_into_workspace)
    # The workspace itself, spelled otherwise, reached through a link, a folder
    # inside it, or a target whose kind folder is a link into it: refused,
    # nothing written or created.
    run generate "$work/ws" --zones 2 --seed 5
    ln -s "$work/ws" "$work/link"
    mkdir -p "$work/tgt"
    ln -s "$work/ws/WLD" "$work/tgt/WLD"
    before=$(cd "$work" && find ws -printf '%p %s %T@\n' | sort | md5sum)
    for target in "$work/ws" "$work/ws/" "$work/ws/../ws" "$work/link" "$work/ws/ZON" \
        "$work/ws/new/deeper" "$work/tgt"; do
        run export "$work/ws" "$target"
        expect_status 1 "export into the workspace: $target"
        grep -qF "the export folder $target is the workspace $work/ws or lies inside it" "$work/err" ||
            fail "no refusal naming $target: $(cat "$work/err")"
        [ -s "$work/out" ] && fail "export into $target printed: $(cat "$work/out")"
    done
    after=$(cd "$work" && find ws -printf '%p %s %T@\n' | sort | md5sum)
    [ "$before" = "$after" ] || fail "the workspace changed"
    [ "$(find "$work/tgt" -mindepth 1 | wc -l)" -eq 1 ] || fail "files in the target: $(find "$work/tgt")"
    # Beside the workspace, under a similar name, is no inside.
    run export "$work/ws" "$work/ws2"
    expect_status 0 "export beside the workspace"
    ;;

import)
    srv=$work/server
    ws=$work/ws
    mkdir -p "$srv"/{zon,wld,obj}
    # KOI8-R "Деревня" and a box-drawing character with LF; a room file with lone CRs;
    # obj lists its files in an index and has CR LF.
    printf '#5\n\xe4\xc5\xd2\xc5\xd7\xce\xd1\x80~\n599 10 2\nS\n$\n' >"$srv/zon/5.zon"
    printf '#500\rHall~\rA hall.\r~\r5 0 1\rS\r$\r' >"$srv/wld/5.wld"
    printf '#6\nField~\n699 10 2\nS\n$\n' >"$srv/zon/6.zon"
    printf '5.obj\n$\n' >"$srv/obj/index"
    printf '* objects\r\n$\r\n' >"$srv/obj/5.obj"
    printf 'unlisted\n' >"$srv/obj/6.obj"
    run import "$srv" "$ws" --zones 5,6
    expect_status 0 "import"
    # Only the code page changes: every line keeps its end.
    printf '#5\n\xc4\xe5\xf0\xe5\xe2\xed\xff?~\n599 10 2\nS\n$\n' | cmp -s - "$ws/ZON/5.zon" ||
        fail "zone file not transcoded: $(od -c "$ws/ZON/5.zon" | head)"
    cmp -s "$srv/wld/5.wld" "$ws/WLD/5.wld" || fail "lone CR line ends"
    cmp -s "$srv/obj/5.obj" "$ws/OBJ/5.obj" || fail "CR LF file"
    # Beside them what they cannot show: the substituted line as it was, and
    # that the object file's lines all ended with CR LF.
    printf 'Деревня?~\nДеревня─~\n' | cmp -s - "$ws/ZON/5.zon.kept" || fail "kept characters: $(od -c "$ws/ZON/5.zon.kept" | head)"
    printf 'CRLF\n' | cmp -s - "$ws/OBJ/5.obj.kept" || fail "CR LF file not noted"
    [ -e "$ws/WLD/5.wld.kept" ] && fail "a room file with nothing to keep has a side file"
    printf '500 0 0 3\r\n' | cmp -s - "$ws/WLD/5.map" || fail "room not laid out: $(od -c "$ws/WLD/5.map" | head)"
    [ -e "$ws/OBJ/6.obj" ] && fail "a file the index does not list was imported"
    grep -q '"?"): 1$' "$work/out" || fail "substitution count: $(cat "$work/out")"
    grep -qx "  ZON/5.zon: 1" "$work/out" || fail "substituted file not named: $(cat "$work/out")"
    # Exported again over emptied copies of its files, the server gets them
    # back byte for byte.
    cp -r "$srv" "$work/back"
    for f in zon/5.zon wld/5.wld obj/5.obj zon/6.zon; do : >"$work/back/$f"; done
    run export "$ws" "$work/back" --koi8 --lf
    expect_status 0 "export of the imported zones"
    for f in zon/5.zon wld/5.wld obj/5.obj zon/6.zon; do
        cmp -s "$srv/$f" "$work/back/$f" || fail "$f exported: $(od -c "$work/back/$f" | head)"
    done
    # The imported workspace scans (rooms not placed, no failure).
    run scan "$ws"
    expect_status 0 "scan of the imported workspace"
    # An existing zone is refused without --force and its file kept.
    printf 'mine\r\n' >"$ws/ZON/6.zon"
    run import "$srv" "$ws"
    expect_status 1 "import over existing zones"
    grep -q -- "--force" "$work/err" || fail "no hint at --force: $(cat "$work/err")"
    [ "$(cat "$ws/ZON/6.zon")" = $'mine\r' ] || fail "an existing zone was overwritten"
    run import "$srv" "$ws" --force --cp1251
    expect_status 0 "import --force"
    cmp -s "$srv/zon/6.zon" "$ws/ZON/6.zon" || fail "--force did not overwrite"
    for args in "import $srv" "import $srv $ws --zones" "import $srv $ws --zones 1,x" \
        "import $work/missing $ws" "import $srv $ws --utf8"; do
        # shellcheck disable=SC2086
        run $args
        expect_status 2 "worldtool $args"
    done
    ;;

layout)
    ws=$work/ws
    mkdir -p "$ws"/{ZON,WLD,OBJ,MOB,SHP,TRG}
    # 501 east of 500 both ways; 502 without exits, placed already.
    crlf "#500" "A~" "~" "5 0 1" "D1" "~" "~" "0 -1 501" "S" "#501" "B~" "~" "5 0 1" "D3" "~" "~" \
        "0 -1 500" "S" "#502" "C~" "~" "5 0 1" "S" "\$" >"$ws/WLD/5.wld"
    crlf "502 7 7 2" >"$ws/WLD/5.map"
    crlf "#5" "Zone~" "599 10 2" "S" "\$" >"$ws/ZON/5.zon"
    run layout "$ws"
    expect_status 0 "layout"
    grep -qx "zone 5: 3 rooms, 2 placed, 1 kept, 0 not placed; two-way exits joining neighbour cells: 1 of 1 (100.0%)" \
        "$work/out" || fail "layout report: $(cat "$work/out")"
    grep -qx "zones that did not fit: 0" "$work/out" || fail "no count of zones that did not fit"
    crlf "500 0 0 3" "501 1 0 3" "502 7 7 2" | cmp -s - "$ws/WLD/5.map" || fail "layout file: $(cat "$ws/WLD/5.map")"
    run layout "$ws" --zone 5 --all
    expect_status 0 "layout --all"
    crlf "500 0 0 3" "501 1 0 3" "502 3 0 3" | cmp -s - "$ws/WLD/5.map" || fail "layout --all: $(cat "$ws/WLD/5.map")"
    run scan "$ws"
    expect_status 0 "scan after the layout"
    run layout "$ws" --zone 9
    expect_status 1 "layout of a zone that is not there"
    for args in "layout" "layout $ws --zone" "layout $ws --zone x" "layout $ws --frob" "layout $work/missing"; do
        # shellcheck disable=SC2086
        run $args
        expect_status 2 "worldtool $args"
    done
    ;;

check)
    data=$(dirname "$0")/../data/checks
    run check "$data/clean"
    expect_status 0 "check of the clean workspace"
    [ -s "$work/out" ] && fail "problems in the clean workspace: $(cat "$work/out")"
    grep -qx "problems: 0 errors, 0 warnings" "$work/err" || fail "no summary: $(cat "$work/err")"
    run check "$data/broken"
    expect_status 1 "check of the broken workspace"
    [ "$(wc -l <"$work/out")" -eq 18 ] || fail "problem lines: $(cat "$work/out")"
    [ "$(cut -f4 "$work/out" | sort -u | wc -l)" -eq 15 ] || fail "kinds: $(cut -f4 "$work/out" | sort -u)"
    grep -qx $'ошибка\tкомната 101\tВыход на запад ведёт в несуществующую комнату 197\texit-to-missing-room' \
        "$work/out" || fail "no line of the missing room: $(cat "$work/out")"
    grep -qx "problems: 12 errors, 6 warnings" "$work/err" || fail "summary: $(cat "$work/err")"
    cp "$work/out" "$work/all"
    run check "$data/broken" --zone 1
    expect_status 1 "check --zone 1"
    cmp -s "$work/out" "$work/all" || fail "zone 1 is the whole workspace"
    for args in "check" "check $data/broken --zone" "check $data/broken --zone 2" \
        "check $data/broken --zone x" "check $work/missing"; do
        # shellcheck disable=SC2086
        run $args
        expect_status 2 "worldtool $args"
    done
    # Warnings alone (a dead room) do not fail a build.
    ws=$work/ws
    mkdir -p "$ws"/{ZON,WLD}
    crlf "#3" "Lone~" "399 10 2" "S" "\$" >"$ws/ZON/3.zon"
    crlf "#300" "Cell~" "A cell." "~" "3 0 1" "S" "\$" >"$ws/WLD/3.wld"
    : >"$ws/WLD/3.map"
    run check "$ws"
    expect_status 0 "check with warnings only"
    grep -q $'\tdead-room$' "$work/out" || fail "no dead room: $(cat "$work/out")"
    # The server's own rules: room NN99, a vessel fuller than it holds, and a
    # spell the list of the program folder beside the workspace (or --bases)
    # does not name.
    ws=$work/rules/Zones
    mkdir -p "$ws"/{ZON,WLD,OBJ} "$work/rules/Bases" "$work/lists"
    crlf "#3" "Rules~" "399 10 2" "S" "\$" >"$ws/ZON/3.zon"
    crlf "#398" "A~" "~" "3 0 1" "D1" "~" "~" "0 -1 399" "S" "#399" "B~" "~" "3 0 1" "D3" "~" "~" \
        "0 -1 398" "S" "\$" >"$ws/WLD/3.wld"
    : >"$ws/WLD/3.map"
    object() { crlf "#$1" a~ b~ c~ d~ e~ f~ g~ h~ "~" "0 0 0 0" "0 0 0 0" "0 0 0" "$2 0 a0" "$3" "1 1 0 0"; }
    { object 300 17 "10 11 0 0"; object 301 10 "5 77 1 -1"; crlf "\$"; } >"$ws/OBJ/3.obj"
    printf '1\t1\t1\tOne\n' >"$work/rules/Bases/Spells"
    run check "$ws"
    expect_status 1 "check against the server's rules"
    for tag in server-room overfull-drink unknown-spell; do
        grep -q $'^[^\t]*\t[^\t]*\t[^\t]*\t'"$tag"'$' "$work/out" || fail "no $tag: $(cat "$work/out")"
    done
    grep -qx $'ошибка\tкомната 399\tНомер 399 сервер отводит своей комнате (номер зоны и 99): перенесите эту комнату на другой номер\tserver-room' \
        "$work/out" || fail "server room line: $(cat "$work/out")"
    grep -qx "problems: 2 errors, 1 warnings" "$work/err" || fail "summary: $(cat "$work/err")"
    printf '1\t1\t1\tOne\n77\t1\t1\tSeventy-seven\n' >"$work/lists/Spells"
    run check "$ws" --bases "$work/lists"
    grep -q $'\tunknown-spell$' "$work/out" && fail "a spell --bases names: $(cat "$work/out")"
    rm "$work/rules/Bases/Spells"
    run check "$ws"
    expect_status 1 "check without a list of spells"
    grep -q "spell numbers not checked" "$work/err" || fail "no note of the missing list: $(cat "$work/err")"
    run check "$ws" --bases "$work/missing"
    expect_status 1 "check with a missing list"
    run check "$ws" --bases
    expect_status 2 "check --bases without a folder"
    # The real sample, when it lies beside the project: it checks, whatever it holds.
    real=$(dirname "$0")/../../../shared/realworld/world
    if [ -d "$real" ]; then
        run import "$real" "$work/real"
        expect_status 0 "import of the real sample"
        run check "$work/real"
        [ "$status" -le 1 ] || fail "check of the real sample: status $status"
        grep -q "^problems: " "$work/err" || fail "no summary for the real sample"
    else
        echo "real sample not found at $real: that part skipped"
    fi
    ;;

check_unparsed)
    # Of each kind, a record that cannot be read in the middle of its file
    # (101, line 3 of it spoilt) and one at its end with the number of a
    # record read (100): each is an error on its own line, named by its
    # number and the line its reading failed on.
    ws=$work/ws
    mkdir -p "$ws"/{ZON,WLD,OBJ,MOB,SHP,TRG}
    crlf "#1" "Test~" "199 10 2" "S" "\$" >"$ws/ZON/1.zon"
    room() { crlf "#$1" "Hall~" "~" "$2" "S"; }
    { crlf "* Velmora room file v1.0"; room 100 "1 0 1"; room 101 "x x x"; room 102 "1 0 1"
      room 100 "1 0 x"; crlf "\$" "\$"; } >"$ws/WLD/1.wld"
    : >"$ws/WLD/1.map"
    obj() { crlf "#$1" "~" "Sword~" "~" "~" "~" "~" "~" "~" "~" "$2" "0 0 0 0" "0 0 0" "0 0 0" \
        "0 0 0 0" "0 0 0 0"; }
    { crlf "* Velmora object file v1.0"; obj 100 "0 0 0 0"; obj 101 "x x x x"; obj 102 "0 0 0 0"
      obj 100 "x x x x"; crlf "\$" "\$"; } >"$ws/OBJ/1.obj"
    mob() { crlf "#$1" "~" "Guard~" "~" "~" "~" "~" "~" "~" "~" "$2" "0 0 0 0d0+0 0d0+0" \
        "0d0+0 0" "0 0 0" "E"; }
    { crlf "* Velmora mob file v1.0"; mob 100 "0 0 0 E"; mob 101 "x x x E"; mob 102 "0 0 0 E"
      mob 100 "x x x E"; crlf "\$" "\$"; } >"$ws/MOB/1.mob"
    shop() { crlf "#$1~" "$2" "1.00" "1.00" "-1" "-1" "~" "~" "~" "~" "~" "~" "~" "0" "0" "100" \
        "0" "-1" "0" "0" "0" "0"; }
    { crlf "CircleMUD v3.0 Shop File~"; shop 100 "-1"; shop 101 "x"; shop 102 "-1"; shop 100 "x"
      crlf "\$" "\$~"; } >"$ws/SHP/1.shp"
    trg() { crlf "#$1" "Greet~" "$2" "~" "~"; }
    { crlf "* Velmora trigger file v1.0"; trg 100 "0 0 0"; trg 101 "x x x"; trg 102 "0 0 0"
      trg 100 "x x x"; crlf "\$" "\$"; } >"$ws/TRG/1.trg"
    run check "$ws"
    expect_status 1 "check of records not read"
    for kind in комната объект моб магазин триггер; do
        n=$(grep -c $'^ошибка\t'"$kind"$' 10[01]\tЗапись не прочитана (ошибка в строке [0-9]*: «[x0-9 .E-]*»), её текст записывается как был\tunparsed-record$' "$work/out")
        [ "$n" -eq 2 ] || fail "$kind: $n records not read listed: $(cat "$work/out")"
    done
    grep -q $'^ошибка\tкомната 101\tЗапись не прочитана (ошибка в строке 10: «x x x»)' "$work/out" ||
        fail "room 101 not named with its line: $(cat "$work/out")"
    ;;

*)
    fail "unknown case"
    ;;
esac
echo "PASS ($case)"
