#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary prefix and checks what lands there: the file list, the
# desktop entry and the AppStream file by their own validators, icon sizes, man pages that name
# every option of --help and have the sections help2man cannot make, a bash completion that offers
# every option, the file managers' actions, and the associations a desktop makes from the installed
# files in a data folder of their own.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$prefix" "$home"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

sizes="16 32 48 64 128 256"
expected="bin/rizodidiz
bin/rizodidiz-cli
share/applications/com.dodevovaze.Rizodidiz.desktop
share/bash-completion/completions/rizodidiz-cli
share/doc/rizodidiz/changelog.Debian.gz
share/doc/rizodidiz/copyright
$(for size in $sizes; do echo "share/icons/hicolor/${size}x${size}/apps/rizodidiz.png"; done)
share/icons/hicolor/scalable/apps/rizodidiz.svg
share/kio/servicemenus/rizodidiz-servicemenu.desktop
share/lintian/overrides/rizodidiz
share/man/man1/rizodidiz-cli.1.gz
share/man/man1/rizodidiz.1.gz
share/metainfo/com.dodevovaze.Rizodidiz.metainfo.xml
share/mime/packages/com.dodevovaze.Rizodidiz.xml
share/nautilus-python/extensions/rizodidiz.py
share/nemo/actions/rizodidiz.nemo_action
share/zsh/vendor-completions/_rizodidiz-cli"
diff <(echo "$expected" | LC_ALL=C sort) <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)

desktop-file-validate "$prefix/share/applications/com.dodevovaze.Rizodidiz.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/com.dodevovaze.Rizodidiz.metainfo.xml"
# desktop-file-validate knows neither a KDE service menu nor a Nemo action: each is named alike and
# hands the selected items to the window. KDE runs a user's service menu only when executable.
servicemenu=$prefix/share/kio/servicemenus/rizodidiz-servicemenu.desktop
for action in "$servicemenu" "$prefix/share/nemo/actions/rizodidiz.nemo_action"; do
    grep -qx 'Name=Compute checksums with Rizodidiz' "$action" || { echo "$action: name"; exit 1; }
    grep -qx 'Exec=rizodidiz -- %F' "$action" || { echo "$action: command"; exit 1; }
done
[[ $(stat -c %a "$servicemenu") == 755 ]] || { echo "service menu is not mode 755"; exit 1; }
python3 "$(dirname "$0")/nautilus_extension_check.py" \
    "$prefix/share/nautilus-python/extensions/rizodidiz.py"

# In a data folder of their own, the desktop's databases made from the installed files: folders
# and unknown files keep their programs, while checksum lists get a type that opens in the window.
# xdg-mime is kept from asking a desktop's own tools, and asks File::MimeInfo instead of file(1).
desktop() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION \
        -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID HOME="$home" XDG_CONFIG_HOME="$home" \
        XDG_CONFIG_DIRS="$home" XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share" "$@"
}
desktop update-desktop-database "$prefix/share/applications"
desktop update-mime-database "$prefix/share/mime"
sha256sum "$servicemenu" >"$home/SHA256SUMS"
xdg() { desktop xdg-mime "$@"; }
for type in inode/directory application/octet-stream; do
    answer=$(xdg query default "$type")
    echo "xdg-mime query default $type: '$answer'"
    [[ ${answer,,} != *rizodidiz* ]] || { echo "installing made Rizodidiz open $type"; exit 1; }
done
filetype=$(xdg query filetype "$home/SHA256SUMS")
default=$(xdg query default "$filetype")
echo "xdg-mime query filetype SHA256SUMS: '$filetype', whose default is '$default'"
[[ $filetype == text/x-rizodidiz-checksums ]] || { echo "SHA256SUMS is no checksum list"; exit 1; }
[[ $default == com.dodevovaze.Rizodidiz.desktop ]] || { echo "checksum lists open elsewhere"; exit 1; }

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
    for section in EXAMPLES FILES '"EXIT STATUS"' '"SEE ALSO"'; do
        grep -qx "\.SH $section" <<<"$page" || { echo "$program.1 lacks $section"; exit 1; }
    done
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
[ "$(complete_words --alg md5,xxh1)" = md5,xxh128 ] || { echo "no names after -a's comma"; exit 1; }
! complete_words -- - | grep -q -- --md5 || { echo "options offered after --"; exit 1; }
echo "installed tree checked"
