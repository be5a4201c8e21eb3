"""The report of a rootsim run: see tools/rootsim-report."""
