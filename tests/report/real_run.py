"""Makes the short real run that the report tests share:
python3 real_run.py ROOTSIM DIR runs ROOTSIM --steps 3000 into DIR, made anew
(a run appends to the files of an older one)."""

import os
import shutil
import subprocess
import sys

STEPS = 3000


def main():
    rootsim, directory = sys.argv[1], sys.argv[2]
    shutil.rmtree(directory, ignore_errors=True)
    os.makedirs(directory)
    subprocess.run([rootsim, '--steps', str(STEPS), directory], check=True,
                   stdout=subprocess.DEVNULL, timeout=600)


if __name__ == '__main__':
    main()
