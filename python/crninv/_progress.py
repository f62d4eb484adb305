"""The bar of progress=True: tqdm's when it is installed, else one line on
standard error that is written again in place."""

import sys
import time


class Bar:
    """Shows each Progress the library reports; close() ends the line."""

    def __init__(self, file=None):
        self.file = file if file is not None else sys.stderr
        self.stage = None
        self.bar = None
        self.width = 0
        try:
            import tqdm
        except ImportError:
            tqdm = None
        self.tqdm = tqdm

    def __call__(self, progress):
        if self.tqdm is not None:
            self._tqdm(progress)
        else:
            self._line(progress)
        return True

    def _tqdm(self, p):
        if self.bar is None or p.stage != self.stage or self.bar.total != p.steps:
            if self.bar is not None:
                self.bar.close()
            self.bar = self.tqdm.tqdm(total=p.steps or None, desc=p.stage, file=self.file)
            self.stage = p.stage
        self.bar.update(p.step - self.bar.n)
        self.bar.set_postfix(found=p.found, refresh=False)

    def _line(self, p):
        share = "%3d%%" % (100 * p.step // p.steps) if p.steps else "    "
        text = "%s %s %d/%d, %d found, %.1f s" % (p.stage, share, p.step, p.steps, p.found,
                                                  p.seconds)
        self.file.write("\r" + text.ljust(self.width))
        self.file.flush()
        self.width = len(text)

    def close(self):
        if self.bar is not None:
            self.bar.close()
            self.bar = None
        elif self.width:
            self.file.write("\r" + " " * self.width + "\r")
            self.file.flush()
            self.width = 0
