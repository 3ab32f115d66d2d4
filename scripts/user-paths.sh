# Where a per-user Tavro lives, following the XDG base directories. Sourced
# by install.sh, uninstall.sh and run.sh.

data_home=${XDG_DATA_HOME:-$HOME/.local/share}
config_home=${XDG_CONFIG_HOME:-$HOME/.config}

# The program folder: the programs, the help, and beside them the user's
# tavro.mdb, data/ and printout.rtf.
program_folder=$data_home/tavro
program_files=(tavro tavro-db tavro-rtf help)
desktop_entry=$data_home/applications/tavro.desktop
icon_theme=$data_home/icons/hicolor
autostart_entry=$config_home/autostart/tavro.desktop

# The ids of the running Tavro processes started from the program folder.
tavro_pids() {
    local process exe
    for process in /proc/[0-9]*; do
        exe=$(readlink "$process/exe" 2>/dev/null) || continue
        # A program file replaced by an upgrade shows as "(deleted)".
        if [[ $exe == "$program_folder/tavro" || $exe == "$program_folder/tavro (deleted)" ]]; then
            echo "${process#/proc/}"
        fi
    done
}

# Asks the running Tavro to end (it saves pending edits first) and waits for
# it; stops it for good after 10 seconds.
stop_tavro() {
    local pids
    mapfile -t pids < <(tavro_pids)
    ((${#pids[@]})) || return 0
    kill -TERM "${pids[@]}" 2>/dev/null || true
    local waited
    for ((waited = 0; waited < 100; waited++)); do
        [[ -z $(tavro_pids) ]] && return 0
        sleep 0.1
    done
    kill -KILL "${pids[@]}" 2>/dev/null || true
}
