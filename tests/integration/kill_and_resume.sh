# Sourced by the kill-and-resume tests (POSIX sh): a run interrupted at random moments, again and
# again, then gone on with --resume until it reaches its end.

# enter_work KADREL_FOLDER: puts KADREL_FOLDER first on the search path and moves into a new
# folder, $work, removed when the test ends.
enter_work() {
    PATH="$(realpath "$1"):$PATH"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
}

# elapsed_ms COMMAND...: runs COMMAND, its standard error discarded, and sets $took to the
# milliseconds it took.
elapsed_ms() {
    _start=$(date +%s%N)
    "$@" 2>/dev/null
    took=$((($(date +%s%N) - _start) / 1000000))
}

# interrupt_until_done SIGNAL MS KEPT COMMAND...: runs COMMAND in the background and sends it
# SIGNAL after a random wait, the first within a third of MS (an uninterrupted run's time), and
# adds --resume once the file KEPT exists. Each try may run a little longer than the one before, so
# that a loaded machine, where start-up alone can take longer than the first tries are given,
# still reaches the end. Returns once a try ends by itself, with $kills the tries interrupted and
# $stops those that ended as stopped runs (130). Its standard error goes to log.txt. Any status
# but a kill's (128 + the signal) or a stop's ends the test, as a refusal must not happen here.
# After every stop it calls after_stop, when the test defines one.
interrupt_until_done() {
    _signal=$1 _limit=$(($2 / 3 + 1)) _step=$(($2 / 20 + 1)) _kept=$3
    shift 3
    kills=0 stops=0 _resume="" _code=0
    while :; do
        "$@" $_resume 2>>log.txt &
        _pid=$!
        sleep "$(shuf -i 1-$_limit -n 1)e-3"
        _limit=$((_limit + _step))
        kill -s "$_signal" $_pid 2>/dev/null && kills=$((kills + 1))
        wait $_pid && break || _code=$?
        case $_code in
            130) stops=$((stops + 1)); if command -v after_stop >/dev/null; then after_stop; fi ;;
            137 | 143) ;;
            *) echo "$*: kadrel exited with $_code"; cat log.txt; exit 1 ;;
        esac
        [ -f "$_kept" ] && _resume=--resume
    done
}
