"""Finding and reading the files of a run's output directory.

Every reader here must cope with a run that is still writing: a last line
without its newline, a block of a space-time track that is not finished yet,
a picture whose file has been created but not completed.  Such tails are left
out (they are read again on the next report), never guessed at.
"""

import json
import os
import re
from collections import defaultdict

import numpy as np

# --------------------------------------------------------------------------
# Names

PICTURE_RE = re.compile(r'^(?P<stem>[A-Za-z0-9_]+?)_(?P<time>\d{8})\.png$')
POINT_RE = re.compile(r'^TemporalDynamics(?P<kind>Point|QC)(?P<col>\d+)_(?P<row>\d+)$')
TRACK_RE = re.compile(r'^Track\w+SpaceTime$')
TRACKCELL_RE = re.compile(r'^TrackCell_(?P<id>\d+)$')
DUMP_RE = re.compile(r'^DumpPlantStateAt(?P<time>\d{10})$')

# Profiles along the root, one file per half and time.  Each pattern gives the
# family (what is profiled), the half and the time.
PROFILE_RES = [
    # grid resolution of this program: GridResolutionL_Epi_time3600
    ('grid', re.compile(r'^GridResolution(?P<side>[LR])_(?P<tissue>[A-Za-z0-9]+)_time(?P<time>\d+)$')),
    # grid resolution of the older programs: GridResolution_epiL_time360
    ('grid', re.compile(r'^GridResolution_(?P<tissue>[A-Za-z]+)(?P<side>[LR])_time(?P<time>\d+)$')),
    # cell resolution: Spatialdynamics_cortexR_time3600
    ('cell', re.compile(r'^Spatialdynamics_(?P<tissue>[A-Za-z]+)(?P<side>[LR])_time(?P<time>\d+)$')),
    # epidermal gradient: EpidermalGradLeft_time360
    ('other', re.compile(r'^(?P<tissue>EpidermalGrad)(?P<side>Left|Right)_time(?P<time>\d+)$')),
]
# Written per time but not as a pair of halves: listed, not plotted.
PROFILE_SINGLE_RE = re.compile(r'^GridResolution_j(?P<row>\d+)_time(?P<time>\d+)$')

SERIES_NAMES = ('Totalauxin', 'Totalplts', 'Tracktotalrootsize', 'Tracktotalrootnumber',
                'Lateralrootcapculling', 'ExtraMeasurements', 'ExtraMeasurements2')

MONTAGE_STEMS = ('ABCD', 'Pltscombo', 'Combined')

PNG_SIGNATURE = b'\x89PNG\r\n\x1a\n'
PNG_END = b'\x00\x00\x00\x00IEND\xaeB`\x82'


class FileInfo:
    """Name, size and modification time of one file of the run."""

    __slots__ = ('name', 'path', 'size', 'mtime_ns')

    def __init__(self, name, path, size, mtime_ns):
        self.name = name
        self.path = path
        self.size = size
        self.mtime_ns = mtime_ns

    def signature(self):
        return [self.name, self.size, self.mtime_ns]


class Profile:
    """One profiled tissue file: its left and right files per time."""

    def __init__(self, kind, key, label):
        self.kind = kind          # 'grid', 'cell' or 'other'
        self.key = key            # unique name, used for the figure
        self.label = label
        self.times = defaultdict(dict)   # time -> {'L': FileInfo, 'R': FileInfo}


class RunFiles:
    """Everything found in an output directory, sorted by kind."""

    def __init__(self, directory):
        self.directory = directory
        self.series = {}            # name -> FileInfo
        self.points = []            # (kind, column, row, FileInfo)
        self.tracks = {}            # name -> FileInfo
        self.trackcells = {}        # id -> FileInfo
        self.profiles = {}          # key -> Profile
        self.single_profiles = []   # FileInfo
        self.pictures = defaultdict(dict)   # time -> {stem: FileInfo}
        self.dumps = {}             # time -> FileInfo
        self.run_record = None      # FileInfo of run.json
        self.other = []             # FileInfo of names not recognised

    def recognised(self):
        """True when anything of a run's output was found."""
        return bool(self.series or self.points or self.tracks or self.trackcells
                    or self.profiles or self.single_profiles or self.pictures
                    or self.dumps or self.run_record)

    def all_files(self):
        yield from self.series.values()
        yield from (p[3] for p in self.points)
        yield from self.tracks.values()
        yield from self.trackcells.values()
        for prof in self.profiles.values():
            for halves in prof.times.values():
                yield from halves.values()
        yield from self.single_profiles
        for stems in self.pictures.values():
            yield from stems.values()
        yield from self.dumps.values()


def profile_label(kind, tissue):
    names = {'RC1': 'lateral root cap (layer 1)', 'Epi': 'epidermis', 'Cort': 'cortex',
             'Endo': 'endodermis', 'Peri': 'pericycle', 'Vasc1': 'vasculature, outer file',
             'Vasc2': 'vasculature, middle file', 'Vasc3': 'vasculature, central file',
             'epi': 'epidermis', 'cortex': 'cortex', 'endo': 'endodermis', 'vasc': 'vasculature',
             'EpidermalGrad': 'epidermal gradient'}
    what = names.get(tissue, tissue)
    if kind == 'grid':
        return what + ', grid resolution'
    if kind == 'cell':
        return what + ', cell resolution'
    return what


def scan(directory, skip=('report',)):
    """Lists the directory and sorts its files by kind.  Sub-directories and
    names in skip are ignored."""
    found = RunFiles(directory)
    with os.scandir(directory) as entries:
        for entry in entries:
            name = entry.name
            if name in skip or name.startswith('.'):
                continue
            try:
                if not entry.is_file():
                    continue
                st = entry.stat()
            except OSError:
                continue   # vanished between listing and looking
            info = FileInfo(name, entry.path, st.st_size, st.st_mtime_ns)
            classify(found, info)
    return found


def classify(found, info):
    name = info.name
    m = PICTURE_RE.match(name)
    if m:
        found.pictures[int(m.group('time'))][m.group('stem')] = info
        return
    if name in SERIES_NAMES:
        found.series[name] = info
        return
    if name == 'run.json':
        found.run_record = info
        return
    m = POINT_RE.match(name)
    if m:
        found.points.append((m.group('kind'), int(m.group('col')), int(m.group('row')), info))
        return
    m = TRACKCELL_RE.match(name)
    if m:
        found.trackcells[int(m.group('id'))] = info
        return
    if TRACK_RE.match(name):
        found.tracks[name] = info
        return
    m = DUMP_RE.match(name)
    if m:
        found.dumps[int(m.group('time'))] = info
        return
    for kind, regex in PROFILE_RES:
        m = regex.match(name)
        if m:
            tissue = m.group('tissue')
            side = m.group('side')[0]          # L or R (Left, Right)
            key = '%s_%s' % (kind, tissue)
            prof = found.profiles.get(key)
            if prof is None:
                prof = found.profiles[key] = Profile(kind, key, profile_label(kind, tissue))
            prof.times[int(m.group('time'))][side] = info
            return
    if PROFILE_SINGLE_RE.match(name):
        found.single_profiles.append(info)
        return
    found.other.append(info)


# --------------------------------------------------------------------------
# Reading tables

def _complete_text(path):
    """The file's text up to and including its last newline (a last line
    still being written is left out), or '' when it cannot be read."""
    try:
        with open(path, 'rb') as f:
            data = f.read()
    except OSError:
        return ''
    end = data.rfind(b'\n')
    return data[:end + 1].decode('ascii', 'replace')


def _parse_lines(lines, ncols=None):
    """Numbers of lines of whitespace-separated fields.  Lines are kept when
    every field is a number and their count of fields is ncols (or, without
    ncols, the most common count).  Returns an array (lines x fields)."""
    if not lines:
        return np.zeros((0, ncols or 0))
    counts = [line.count('\t') for line in lines]
    first = counts[0]
    if all(c == first for c in counts) and (ncols is None or first + 1 == ncols):
        try:
            arr = np.array('\t'.join(lines).split(), dtype=float)
            if arr.size == len(lines) * (first + 1):
                return arr.reshape(len(lines), first + 1)
        except ValueError:
            pass
    # Slow path: one line at a time, leaving out what does not parse.
    rows = []
    for line in lines:
        try:
            rows.append([float(x) for x in line.split()])
        except ValueError:
            continue
    if ncols is None:
        sizes = defaultdict(int)
        for r in rows:
            sizes[len(r)] += 1
        if not sizes:
            return np.zeros((0, 0))
        ncols = max(sizes.items(), key=lambda kv: (kv[1], kv[0]))[0]
    rows = [r for r in rows if len(r) == ncols]
    return np.array(rows, dtype=float).reshape(len(rows), ncols)


def read_table(path, ncols=None):
    """All complete lines of a table file as a float array (lines x columns)."""
    text = _complete_text(path)
    lines = [line for line in text.split('\n') if line.strip()]
    return _parse_lines(lines, ncols)


def read_table_groups(path):
    """A table whose lines do not all have the same number of fields (the
    grid-resolution profiles hold a tip section of nine columns and a body
    section of six): returns {number of fields: array}."""
    text = _complete_text(path)
    groups = defaultdict(list)
    for line in text.split('\n'):
        if line.strip():
            groups[line.count('\t') + 1].append(line)
    return {n: _parse_lines(lines, n) for n, lines in groups.items()}


def time_series(path, ncols=None):
    """A time series: its complete lines, sorted by the time in the first
    column; where a time appears more than once (a second run appended to the
    same file) the last line wins."""
    arr = read_table(path, ncols)
    if arr.shape[0] == 0 or arr.shape[1] == 0:
        return arr
    t = arr[:, 0]
    order = np.lexsort((np.arange(len(t)), t))       # by time, then by line
    ts = t[order]
    last = np.r_[ts[1:] != ts[:-1], True]             # last line of each time
    return arr[order[last]]


class Track:
    """A space-time track: for each time, the rows and values of one block."""

    def __init__(self, times, blocks):
        self.times = times      # sorted list of times
        self.blocks = blocks    # time -> (rows array, values array)


def read_track(path):
    """Reads a space-time track file: blocks of 't row value' lines, one block
    per time, each ended by an empty line.  A last block without its closing
    empty line is still being written and is left out.  A time that appears
    in more than one block takes its last block."""
    text = _complete_text(path)
    if not text.endswith('\n\n') and text.strip():
        # the last block is not closed: drop the lines of its time
        cut = text.rstrip('\n').rfind('\n\n')
        text = text[:cut + 2] if cut >= 0 else ''
    lines = [line for line in text.split('\n') if line.strip()]
    arr = _parse_lines(lines, 3)
    blocks = {}
    if arr.shape[0]:
        t = arr[:, 0]
        starts = np.flatnonzero(np.r_[True, t[1:] != t[:-1]])
        ends = np.r_[starts[1:], len(t)]
        for s, e in zip(starts, ends):
            blocks[float(t[s])] = (arr[s:e, 1], arr[s:e, 2])
    return Track(sorted(blocks), blocks)


def picture_complete(info):
    """True when the picture file is a whole PNG: it starts with the PNG
    signature and ends with the closing IEND chunk."""
    if info.size < len(PNG_SIGNATURE) + len(PNG_END):
        return False
    try:
        with open(info.path, 'rb') as f:
            head = f.read(8)
            f.seek(-12, os.SEEK_END)
            tail = f.read(12)
    except OSError:
        return False
    return head == PNG_SIGNATURE and tail == PNG_END


def read_run_record(info):
    """The run record as a dict, or (None, message) when it cannot be read."""
    try:
        with open(info.path, 'r', encoding='utf-8') as f:
            record = json.load(f)
    except (OSError, ValueError) as e:
        return None, 'run.json cannot be read: %s' % e
    if not isinstance(record, dict):
        return None, 'run.json does not hold an object'
    return record, None
