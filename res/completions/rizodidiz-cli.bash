# SPDX-License-Identifier: MIT
# Bash completion of rizodidiz-cli: options as its own --help lists them, files otherwise.
# A comma-separated list of the words $1: completes the last name after the commas typed so far.
_rizodidiz_cli_list() {
    local head=${cur%"${cur##*,}"}
    COMPREPLY=($(compgen -P "$head" -W "$1" -- "${cur##*,}"))
    compopt -o nospace
}

_rizodidiz_cli() {
    local cur prev words cword split
    _init_completion -s || return
    # After "--" every word is a file.
    local i
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} == -- ]]; then
            _filedir
            return
        fi
    done
    # The option taking the value, also shortened as the program accepts it.
    case $prev in
    --d | --de*)
        COMPREPLY=($(compgen -W '0 1' -- "$cur"))
        return
        ;;
    --in | --inc*)
        _rizodidiz_cli_list 'size created modified folder'
        return
        ;;
    -a | --al*)
        _rizodidiz_cli_list 'md5 sha1 sha224 sha256 sha384 sha512 blake2b crc32 xxh64 xxh3 xxh128'
        return
        ;;
    -l | --le*)
        COMPREPLY=($(compgen -W '128 160 224 256 384 512' -- "$cur"))
        return
        ;;
    esac
    $split && return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '$(_parse_help "$1")' -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _rizodidiz_cli rizodidiz-cli
