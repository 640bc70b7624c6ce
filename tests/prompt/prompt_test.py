#!/usr/bin/env python3
"""The shell's interactive prompt, driven through a pseudo-terminal as a user
at a terminal drives it.

    prompt_test.py <quorlane>

While the prompt waits for a line, Tcl's event loop runs: the file watcher
takes in a source dropped into the project's HDL folder, and an `after`
script fires, with nothing typed. What the prompt did before still holds:
its prompt string, commands over several lines, an error that leaves the
prompt open, Ctrl-D and `exit` ending the shell, and the journal of
-journal. Each case prints "ok" or "FAILED" with what the terminal showed.
"""
import os
import pty
import re
import select
import shutil
import signal
import sys
import tempfile
import time

PROMPT = "quorlane% "
# Generous: a loaded machine or a sanitizer build is slow, and nothing here
# measures speed; a case passes as soon as what it waits for shows.
WAIT_S = 60


class Session:
    """One quorlane at a pseudo-terminal: what it showed, and typing into it."""

    def __init__(self, shell, folder, args=()):
        self.raw = ""
        self.shown = ""
        self.seen = 0  # what the cases have looked at so far
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(folder)
            os.execv(shell, [shell, *args])

    def _read(self, timeout):
        ready, _, _ = select.select([self.fd], [], [], timeout)
        if not ready:
            return True
        try:
            data = os.read(self.fd, 65536)
        except OSError:  # the shell has ended and closed the terminal
            return False
        if not data:
            return False
        # A line end is one whatever the terminal made of it; a lone
        # carriage return (a progress bar's) starts a line too.
        self.raw += data.decode("utf-8", "replace")
        self.shown = re.sub(r"\r+\n", "\n", self.raw).replace("\r", "\n")
        return True

    def wait_for(self, pattern):
        """Waits until the terminal shows text matching `pattern` (a line of
        its own with "^...$"; what comes while the prompt waits follows the
        prompt on its line) after what was looked at before; true when it
        did."""
        regex = re.compile(pattern, re.MULTILINE)
        end = time.monotonic() + WAIT_S
        while True:
            found = regex.search(self.shown, self.seen)
            if found:
                self.seen = found.end()
                return True
            if time.monotonic() > end or not self._read(0.1):
                return bool(regex.search(self.shown, self.seen))

    def wait_for_prompt(self):
        return self.wait_for("^" + re.escape(PROMPT))

    def type(self, text):
        os.write(self.fd, text.encode())

    def status(self):
        """The shell's exit status, once it ended (None when it did not)."""
        end = time.monotonic() + WAIT_S
        while time.monotonic() < end:
            self._read(0.1)
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid == self.pid:
                os.close(self.fd)
                return os.waitstatus_to_exitcode(status)
        os.kill(self.pid, signal.SIGKILL)
        os.waitpid(self.pid, 0)
        os.close(self.fd)
        return None

    def recent(self):
        return self.shown[max(0, self.seen - 600):]


failures = 0
passed = 0


def check(what, condition, session):
    global failures, passed
    if condition:
        passed += 1
        print(f"ok: {what}")
    else:
        failures += 1
        print(f"FAILED: {what}\n--- the terminal showed:\n{session.recent()}\n---")


def main():
    shell = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp()
    try:
        with open(os.path.join(folder, "options"), "w") as options:
            # The watcher checks every tenth of a second and says what it finds.
            options.write("IDE_TIMER_INTERVAL = 100\nDEBUG_MSG = 1\n")
        os.environ["QUORLANE_OPTIONS"] = os.path.join(folder, "options")
        os.environ["BRENNIC_SW_DIR"] = ""
        run_sessions(shell, folder)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print(f"{passed} passed, {failures} failed")
    return 1 if failures else 0


def run_sessions(shell, folder):
    user = Session(shell, folder)
    check("the prompt shows", user.wait_for_prompt(), user)

    user.type("new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100\n")
    check("a project made at the prompt", user.wait_for("The alu project was created") and user.wait_for_prompt(),
          user)

    # Written beside the folder, then renamed into it: the watcher sees it whole.
    source = os.path.join(folder, "extra.vhd")
    with open(source, "w") as text:
        text.write("entity extra is port (p : in bit); end;\narchitecture rtl of extra is begin end;\n")
    os.rename(source, os.path.join(folder, "alu", "hdl", "extra.vhd"))
    check("a source dropped into hdl/ comes in while the prompt waits, nothing typed",
          user.wait_for(r"TIMER: Found new file extra\.vhd$"), user)
    user.type("dump_all_modules\n")
    check("the design holds the dropped source's unit", user.wait_for(r"^extra$") and user.wait_for_prompt(), user)

    user.type("after 100 {puts {the after script ran}}\n")
    check("a scheduled script runs while the prompt waits", user.wait_for("the after script ran$"), user)

    user.type("puts [list one \\\n two]\n")
    check("a command over two lines runs whole", user.wait_for("^one two$") and user.wait_for_prompt(), user)
    user.type("set braces {a\nb}\n")
    check("an open brace goes on to the next line", user.wait_for("^a\nb$") and user.wait_for_prompt(), user)

    user.type("no_such_command\n")
    check("an error is shown and the prompt stays",
          user.wait_for('^invalid command name "no_such_command"$') and user.wait_for_prompt(), user)

    user.type("\x04")
    check("Ctrl-D ends the shell with status 0", user.status() == 0, user)

    journal = os.path.join(folder, "journal.tcl")
    journaled = Session(shell, folder, ["-journal", journal])
    journaled.wait_for_prompt()
    journaled.type("open_project alu/alu.prj\n")
    journaled.wait_for("The alu project was opened")
    journaled.wait_for_prompt()
    journaled.type("exit 3\n")
    check("exit ends the shell with its status", journaled.status() == 3, journaled)
    with open(journal) as kept:
        commands = kept.read()
    check("the journal holds the command typed at the prompt", "open_project" in commands, journaled)


if __name__ == "__main__":
    sys.exit(main())
