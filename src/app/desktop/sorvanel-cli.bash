# bash completion of sorvanel-cli (installed as
# /usr/share/bash-completion/completions/sorvanel-cli): its commands and the
# options of each, ledger files (*.fz) where a ledger is expected, template
# names after --template, and the fields of the ledger named on the line
# after --set, --sum, --by, --only, --map SOURCE= and in FIELD=VALUE
# arguments, where an option column's options follow FIELD=. The fields come
# from `sorvanel-cli columns PATH` (tab-separated: position, field name,
# caption, type, width, options, default); the templates are the *.fz files
# in the system/ folder beside the program.

_sorvanel_cli_commands='add backup backups budget columns compact delete due
eval export groups import layouts monthly new recurring report restore rules
set shares sql'

# The options of a command, as its usage line names them.
_sorvanel_cli_options()
{
    case $1 in
        add) echo --group ;;
        budget) echo --month --where --by --sum ;;
        due) echo --until --apply ;;
        export) echo --where ;;
        import)
            echo --group --map --date-form --encoding --include-duplicates \
                --no-rules --cancel-refunds --report
            ;;
        monthly) echo --sum --where --side --only ;;
        new) echo --template ;;
        recurring) echo --group --every --from --times --until --auto ;;
        report) echo --year --sum --by --where ;;
        rules) echo --if --set ;;
        shares) echo --sum --by --where --side ;;
    esac
}

# How many words follow an option: none for a flag, N and its unit for
# --every, SOURCE, the condition and TEXT for --if, else one.
_sorvanel_cli_option_words()
{
    case $1 in
        --apply | --auto | --include-duplicates | --no-rules | \
            --cancel-refunds | --report) echo 0 ;;
        --every) echo 2 ;;
        --if) echo 3 ;;
        *) echo 1 ;;
    esac
}

# The candidates that start with $cur, one a line on stdin, into COMPREPLY.
# It reads from a redirection, never at the end of a pipe, where it would
# run in a subshell and COMPREPLY would be lost.
_sorvanel_cli_reply()
{
    local cur=$1 word
    COMPREPLY=()
    while IFS= read -r word; do
        [[ -n $word && $word == "$cur"* ]] && COMPREPLY+=("$word")
    done
}

# Readline replaces only the text after the last word-break character of
# the current word ("=" and ":" among them); the candidates lose what
# comes before it.
_sorvanel_cli_trim_breaks()
{
    local cur=$1 prefix= i
    for ((i = ${#cur} - 1; i >= 0; i--)); do
        if [[ $COMP_WORDBREAKS == *"${cur:i:1}"* ]]; then
            prefix=${cur:0:i+1}
            break
        fi
    done
    [[ -n $prefix ]] || return
    for i in "${!COMPREPLY[@]}"; do
        COMPREPLY[i]=${COMPREPLY[i]#"$prefix"}
    done
}

# A word as the shell will pass it: quotes and backslashes removed, a
# leading ~ expanded. Never evaluated.
_sorvanel_cli_unquote()
{
    local word=$1
    word=${word//\\/}
    word=${word//\"/}
    word=${word//\'/}
    [[ $word == "~/"* ]] && word=$HOME/${word#"~/"}
    printf '%s\n' "$word"
}

# The output of `sorvanel-cli columns` for the ledger, when it is a file.
_sorvanel_cli_columns()
{
    local cli=$1 ledger=$2
    [[ -f $ledger ]] || return
    "$cli" columns "$ledger" 2>/dev/null
}

# Field names and captions of the ledger, each followed by $suffix.
_sorvanel_cli_fields()
{
    local cli=$1 ledger=$2 suffix=${3-}
    _sorvanel_cli_columns "$cli" "$ledger" |
        awk -F '\t' -v s="$suffix" '$2 != "" { print $2 s; if ($3 != "" && $3 != $2) print $3 s }'
}

# The options of the option column named (by field name or caption).
_sorvanel_cli_field_options()
{
    local cli=$1 ledger=$2 field=$3
    _sorvanel_cli_columns "$cli" "$ledger" |
        awk -F '\t' -v f="$field" '($2 == f || $3 == f) && $6 != "" { n = split($6, o, "|"); for (i = 1; i <= n; i++) print o[i] }'
}

# Template names: the *.fz files in the system/ folder beside the program.
_sorvanel_cli_templates()
{
    local cli=$1 program file
    program=$(type -P "$cli") || return
    program=$(readlink -f "$program") || return
    for file in "${program%/*}"/system/*.fz; do
        [[ -f $file ]] || continue
        file=${file##*/}
        printf '%s\n' "${file%.fz}"
    done
}

# FIELD= for a field, or after FIELD= the options of that column.
_sorvanel_cli_assignment()
{
    local cli=$1 ledger=$2 cur=$3
    if [[ $cur == *=* ]]; then
        local field=${cur%%=*} value
        _sorvanel_cli_reply "$cur" < <(
            _sorvanel_cli_field_options "$cli" "$ledger" "$field" |
                while IFS= read -r value; do
                    printf '%s=%s\n' "$field" "$value"
                done
        )
    else
        _sorvanel_cli_reply "$cur" < <(_sorvanel_cli_fields "$cli" "$ledger" =)
        ((${#COMPREPLY[@]})) && compopt -o nospace 2>/dev/null
    fi
    return 0
}

# The words of an option's argument.
_sorvanel_cli_option_argument()
{
    local cli=$1 ledger=$2 command=$3 option=$4 position=$5 cur=$6
    case $option in
        --template) _sorvanel_cli_reply "$cur" < <(_sorvanel_cli_templates "$cli") ;;
        --group)
            # The group IDs: the first column of the tree, indented by depth.
            [[ -f $ledger ]] || return
            _sorvanel_cli_reply "$cur" < <("$cli" groups "$ledger" 2>/dev/null |
                cut -f 1 | tr -d ' ')
            ;;
        --sum) _sorvanel_cli_reply "$cur" < <(_sorvanel_cli_fields "$cli" "$ledger") ;;
        --by)
            if [[ $command == shares ]]; then
                _sorvanel_cli_assignment "$cli" "$ledger" "$cur"
            else
                _sorvanel_cli_reply "$cur" < <(_sorvanel_cli_fields "$cli" "$ledger")
            fi
            ;;
        --only | --set) _sorvanel_cli_assignment "$cli" "$ledger" "$cur" ;;
        --map)
            # SOURCE=FIELD, FIELD perhaps signed: -FIELD debit, +FIELD credit.
            [[ $cur == *=* ]] || return
            local head=${cur%%=*}= rest=${cur#*=} sign= field
            [[ $rest == [-+]* ]] && sign=${rest:0:1}
            _sorvanel_cli_reply "$cur" < <(
                _sorvanel_cli_fields "$cli" "$ledger" |
                    while IFS= read -r field; do
                        printf '%s\n' "$head$sign$field"
                    done
            )
            ;;
        --side)
            local sides='支出 收入'
            [[ $command == monthly ]] && sides+=' 结余'
            _sorvanel_cli_reply "$cur" < <(printf '%s\n' $sides)
            ;;
        --date-form)
            _sorvanel_cli_reply "$cur" < <(printf '%s\n' yyyy-MM-dd yyyy/M/d \
                d.M.yyyy M/d/yyyy d/M/yyyy yyyyMMdd 'yyyy年M月d日' yyyy.M.d M/d M-d)
            ;;
        --encoding)
            _sorvanel_cli_reply "$cur" < <(printf '%s\n' UTF-8 UTF-16 GB18030 GBK)
            ;;
        --every)
            ((position == 2)) || return
            _sorvanel_cli_reply "$cur" < <(printf '%s\n' days weeks months years)
            ;;
        --if)
            ((position == 2)) || return
            _sorvanel_cli_reply "$cur" < <(printf '%s\n' contains equals starts)
            ;;
    esac
}

# A positional argument: number is its place among the positional words,
# first the ledger's own path.
_sorvanel_cli_positional()
{
    local cli=$1 ledger=$2 command=$3 number=$4 cur=$5 first=$6 by=$7
    case $command in
        eval | layouts) return ;;
    esac
    if ((number == 1)); then
        _filedir fz
        return
    fi
    case $command:$number in
        restore:2) _filedir fz ;;
        import:2) _filedir '@(csv|CSV|xlsx|XLSX|xls|XLS|ofx|OFX|qfx|QFX)' ;;
        export:2) _filedir '@(csv|xlsx)' ;;
        report:2) _filedir '@(pdf|html)' ;;
        recurring:2) _sorvanel_cli_reply "$cur" < <(printf '%s\n' add delete pause resume) ;;
        rules:2) _sorvanel_cli_reply "$cur" < <(printf '%s\n' add delete) ;;
        budget:2) _sorvanel_cli_reply "$cur" < <(printf '%s\n' set) ;;
        add:*) _sorvanel_cli_assignment "$cli" "$ledger" "$cur" ;;
        set:4) _sorvanel_cli_assignment "$cli" "$ledger" "$cur" ;;
        recurring:*)
            [[ $first == add ]] && ((number > 3)) &&
                _sorvanel_cli_assignment "$cli" "$ledger" "$cur"
            ;;
        budget:*)
            # OPTION=AMOUNT: the options of the --by column, and the total.
            [[ $first == set && -n $by && $cur != *=* ]] || return
            _sorvanel_cli_reply "$cur" < <(
                _sorvanel_cli_field_options "$cli" "$ledger" "$by" | sed 's/$/=/'
                echo 合计=
            )
            ((${#COMPREPLY[@]})) && compopt -o nospace 2>/dev/null
            ;;
    esac
}

_sorvanel_cli()
{
    local cur prev words cword
    _init_completion -n =: || return

    if ((cword == 1)); then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--version --help' -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$_sorvanel_cli_commands help" -- "$cur"))
        fi
        return
    fi

    local cli command=${words[1]}
    cli=$(_sorvanel_cli_unquote "${words[0]}")

    # The words before the current one: positional arguments, and the
    # option whose arguments are still being given.
    local -a positional=()
    local option= pending=0 position=0 by= i word
    for ((i = 2; i < cword; i++)); do
        word=${words[i]}
        if ((pending > 0)); then
            ((pending--, position++))
            [[ $option == --by ]] && by=$(_sorvanel_cli_unquote "$word")
            continue
        fi
        if [[ $word == --* ]]; then
            option=$word
            pending=$(_sorvanel_cli_option_words "$word")
            position=1
            continue
        fi
        positional+=("$word")
    done

    local ledger=
    ((${#positional[@]})) && ledger=$(_sorvanel_cli_unquote "${positional[0]}")

    if ((pending > 0)); then
        _sorvanel_cli_option_argument "$cli" "$ledger" "$command" "$option" \
            "$position" "$cur"
    elif [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_sorvanel_cli_options "$command")" -- "$cur"))
    else
        _sorvanel_cli_positional "$cli" "$ledger" "$command" \
            $((${#positional[@]} + 1)) "$cur" "${positional[1]-}" "$by"
    fi
    _sorvanel_cli_trim_breaks "$cur"
} &&
    complete -F _sorvanel_cli sorvanel-cli
