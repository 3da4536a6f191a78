"""The exceptions fdtdlab raises (kept free of the C++ core so that it can raise them)."""

import re

_LOCATED = re.compile(r"(?P<file>.*?):(?P<line>\d+):(?P<column>\d+): (?P<message>.*)", re.S)


class ScenarioError(ValueError):
    """A scenario that cannot be read or run.

    str(error) is the text fdtd-lab prints, "FILE:LINE:COLUMN: message"; file, line,
    column (0 when not known) and message are its parts.
    """

    def __init__(self, text):
        super().__init__(text)
        located = _LOCATED.fullmatch(text)
        if located:
            self.file = located["file"]
            self.line = int(located["line"])
            self.column = int(located["column"])
            self.message = located["message"]
        else:
            self.file, _, self.message = text.partition(": ")
            self.line = self.column = 0


class UnstableRun(RuntimeError):
    """A run whose fields blew up: it stopped at step (the number of steps taken)."""

    def __init__(self, message, step):
        super().__init__(message, step)
        self.message = message
        self.step = step

    def __str__(self):
        return f"{self.message} (stopped after step {self.step})"
