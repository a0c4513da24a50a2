#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary prefix and checks what lands there: the file list, the
# desktop entry and the AppStream file by their own validators, icon sizes, man pages that name
# every option of --help, and a bash completion that offers them.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

sizes="16 32 48 64 128 256"
expected="bin/rizodidiz
bin/rizodidiz-cli
share/applications/com.dodevovaze.Rizodidiz.desktop
share/bash-completion/completions/rizodidiz-cli
$(for size in $sizes; do echo "share/icons/hicolor/${size}x${size}/apps/rizodidiz.png"; done)
share/icons/hicolor/scalable/apps/rizodidiz.svg
share/kio/servicemenus/rizodidiz-servicemenu.desktop
share/man/man1/rizodidiz-cli.1.gz
share/man/man1/rizodidiz.1.gz
share/metainfo/com.dodevovaze.Rizodidiz.metainfo.xml
share/zsh/vendor-completions/_rizodidiz-cli"
diff <(echo "$expected" | LC_ALL=C sort) <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)

desktop-file-validate "$prefix/share/applications/com.dodevovaze.Rizodidiz.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/com.dodevovaze.Rizodidiz.metainfo.xml"
# desktop-file-validate knows no KDE service type; the menu's action must start the window.
grep -qx 'Exec=rizodidiz %F' "$prefix/share/kio/servicemenus/rizodidiz-servicemenu.desktop"

for size in $sizes; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/rizodidiz.png" |
        grep -q "PNG image data, $size x $size," || { echo "icon $size is no ${size}-pixel PNG"; exit 1; }
done

# The options that start the lines of --help, one line each: "-z,--zero" for "-z, --zero ...".
option_lines() {
    "$prefix/bin/$1" --help | grep -E '^ +-' | sed -E 's/^ +//; s/(  |  *[A-Z]).*//; s/ //g' |
        sed -E 's/(^|,)(-[^,=]*)[^,]*/\1\2/g'
}
for program in rizodidiz-cli rizodidiz; do
    page=$(zcat "$prefix/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
    for option in $(option_lines "$program" | tr ',' ' '); do
        grep -qe "$option" <<<"$page" || { echo "$program.1 lacks $option"; exit 1; }
    done
done

# What the bash completion offers for the last of the words given, one a line.
complete_words() {
    PATH="$prefix/bin:$PATH" bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        shift
        COMP_WORDS=(rizodidiz-cli "$@") COMP_CWORD=$# COMP_LINE="rizodidiz-cli $*"
        COMP_POINT=${#COMP_LINE}
        _rizodidiz_cli rizodidiz-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
        printf "%s\n" "${COMPREPLY[@]}"' _ "$prefix/share/bash-completion/completions/rizodidiz-cli" "$@"
}

# Completion offers one name per option, the long one where there are two.
offered=$(complete_words -)
for option in $(option_lines rizodidiz-cli | sed 's/.*,//' | grep -vx -- --); do
    grep -qxe "$option" <<<"$offered" || { echo "bash completion lacks $option"; exit 1; }
done
# A shortened option takes its values as the whole one does; after "--" only files are offered.
[ "$(complete_words --delim '')" = "$(printf '0\n1')" ] || { echo "no values for --delim"; exit 1; }
! complete_words -- - | grep -q -- --md5 || { echo "options offered after --"; exit 1; }
echo "installed tree checked"
