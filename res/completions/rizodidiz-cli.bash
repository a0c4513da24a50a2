# SPDX-License-Identifier: MIT
# Bash completion of rizodidiz-cli: options as its own --help lists them, files otherwise.
_rizodidiz_cli() {
    local cur prev words cword
    _init_completion || return
    case $prev in
    --delimiter)
        COMPREPLY=($(compgen -W '0 1' -- "$cur"))
        return
        ;;
    --include)
        # A comma-separated list: complete the last name after the commas typed so far.
        local head=${cur%"${cur##*,}"}
        COMPREPLY=($(compgen -P "$head" -W 'size created modified folder' -- "${cur##*,}"))
        compopt -o nospace
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '$(_parse_help "$1")' -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _rizodidiz_cli rizodidiz-cli
