"""Which program wrote a directory, how far the run got, and which of the
files its schedule should have written by then are missing or empty."""

from .files import MONTAGE_STEMS

# The picture stems of one picture set, per program.
ROOTSIM_PICTURES = (
    'Aux', 'ARFKM_Aux', 'PINmem', 'Aux1mem', 'CellZonation', 'OscilationZone', 'PltsExp',
    'Plts', 'TimeOfPrevGrowth', 'Membrane', 'Priming', 'outside', 'Gh317', 'ARR1', 'ARR12',
    'ARR1_and12', 'Celltypes', 'Yuc3', 'Tmt', 'PltsExp2', 'Plts2', 'ARR1RGA', 'Plasmodesmata',
    'PIN2mem', 'PINtotmem', 'lowAuxin', 'Auxminpassed', 'ARRpassed', 'divTF', 'elongTF',
    'MeanAux', 'Gh33', 'IdealPINtot', 'IdealPIN1', 'IdealPIN2', 'IdealAUX1', 'VolfacAuxProd'
) + MONTAGE_STEMS
B_PICTURES = ('Aux', 'SatAux', 'PINmem', 'Aux1mem', 'CellZonation', 'OscilationZone',
              'TimeOfPrevGrowth', 'Membrane', 'Priming')
B3_PICTURES = B_PICTURES + ('ABCD',)
C_PICTURES = ('Tissue', 'Aux', 'PINmem', 'Aux1mem', 'PltsExpression', 'Plts')

ROOTSIM_TRACKS = (
    'TrackAuxCorinSpaceTime', 'TrackAuxendoinSpaceTime', 'TrackAuxperiinSpaceTime',
    'TrackAuxsidevascinSpaceTime', 'TrackAuxmidvascinSpaceTime', 'TrackAuxinSpaceTime',
    'TrackARR1sexpinSpaceTime', 'TrackARR12sexpinSpaceTime', 'TrackARR1seffinSpaceTime',
    'TrackARR1vascexpinSpaceTime', 'TrackARR12vascexpinSpaceTime', 'TrackARR1vasceffinSpaceTime',
    'TrackPltsinSpaceTime', 'TrackPltsexpinSpaceTime', 'TrackPltscorinSpaceTime',
    'TrackPltscorexpinSpaceTime', 'TrackPltsvascinSpaceTime', 'TrackPltsvascexpinSpaceTime',
    'TrackPltsaverageinSpaceTime', 'TrackPltsaverageexpinSpaceTime', 'TrackCellTypeinSpaceTime',
    'TrackdivTFinSpaceTime', 'TrackelongTFinSpaceTime', 'TrackdivTFvascinSpaceTime',
    'TrackelongTFvascinSpaceTime')

GRID_TISSUES = ('RC1', 'Epi', 'Cort', 'Endo', 'Peri', 'Vasc1', 'Vasc2', 'Vasc3')
C_TISSUES = ('epi', 'cortex', 'endo', 'vasc')

ROOTSIM_PROBE_ROWS = (149, 14, 32, 50, 68, 86, 104, 122, 140, 158, 176, 194, 212, 230, 284, 356)


def b_probe_rows(first):
    return (first,) + tuple(range(147, 288, 10)) + (317, 357)


class Program:
    """What one program writes and when (times in the integer time units of
    the files).  Per-time sets are expected at every multiple of their period
    (and at the extra times listed)."""

    def __init__(self, name, label, fixed, per_time, pictures, picture_period,
                 picture_extra, first_pictures=None, growth_from=None):
        self.name = name
        self.label = label
        self.fixed = fixed                  # [(file name, first time written)]
        self.per_time = per_time            # [(period, [name format with %i for the time])]
        self.pictures = pictures            # stems of one set
        self.picture_period = picture_period
        self.picture_extra = picture_extra  # times of extra sets, e.g. (0, 100)
        self.first_pictures = first_pictures or {}   # time -> stems of a smaller set
        self.growth_from = growth_from


DUMPS = (50000, ['DumpPlantStateAt%010d'])


def _grid_profiles(tissues):
    return ['GridResolution%s_%s_time%%i' % (side, t) for t in tissues for side in 'LR']


def program(name):
    """The schedule of the named program, or None when it is not known."""
    if name == 'rootsim':
        probes = ['TemporalDynamicsPoint%i_%i' % (c, r) for c in (93, 84) for r in ROOTSIM_PROBE_ROWS]
        fixed = ([('Totalauxin', 20), ('Totalplts', 20), ('Tracktotalrootsize', 600),
                  ('Tracktotalrootnumber', 600)]
                 + [(n, 600) for n in ROOTSIM_TRACKS] + [(p, 3600) for p in probes]
                 + [('Lateralrootcapculling', 57602)])
        return Program(name, 'rootsim', fixed, [(3600, _grid_profiles(GRID_TISSUES)), DUMPS],
                       ROOTSIM_PICTURES, 3600, (0, 100))
    if name in ('rootsim_b1', 'rootsim_b2', 'rootsim_b3', 'rootsim_b4', 'rootsim_b'):
        first = 102 if name == 'rootsim_b3' else 127
        probes = ['TemporalDynamicsPoint%i_%i' % (c, r) for c in (60, 55) for r in b_probe_rows(first)]
        fixed = ([('Totalauxin', 20), ('Lateralrootcapculling', 2), ('ExtraMeasurements', 3600),
                  ('ExtraMeasurements2', 3600)] + [(p, 3600) for p in probes])
        pictures = B3_PICTURES if name == 'rootsim_b3' else B_PICTURES
        label = name if name != 'rootsim_b' else 'an older program (rootsim_b1, b2 or b4)'
        return Program(name, label, fixed, [(3600, _grid_profiles(GRID_TISSUES)), DUMPS],
                       pictures, 3600, (0,))
    if name == 'rootsim_c':
        fixed = [('Totalauxin', 20), ('TemporalDynamicsPoint12_288', 360),
                 ('TemporalDynamicsPoint238_288', 360)]
        per = (['GridResolution_%s%s_time%%i' % (t, s) for t in C_TISSUES for s in 'LR']
               + ['Spatialdynamics_%s%s_time%%i' % (t, s) for t in C_TISSUES for s in 'LR']
               + ['EpidermalGradLeft_time%i', 'EpidermalGradRight_time%i'])
        return Program(name, 'rootsim_c', fixed, [(360, per), DUMPS], C_PICTURES, 360, (),
                       first_pictures={0: ('Aux',)})
    return None


def detect_program(found, record):
    """The program that wrote the directory: the run record's word if it
    names a known program, else a guess from the names of the files."""
    if record and isinstance(record.get('program'), str) and program(record['program']):
        return record['program']
    stems = set()
    for s in found.pictures.values():
        stems.update(s)
    c_keys = {'grid_' + t for t in C_TISSUES}
    if (any(p.kind != 'grid' or p.key in c_keys for p in found.profiles.values())
            or 'Tissue' in stems or 'PltsExpression' in stems or found.single_profiles):
        return 'rootsim_c'
    if (found.tracks or 'Totalplts' in found.series or 'Tracktotalrootsize' in found.series
            or any(k == 'QC' for k, *_ in found.points) or 'Combined' in stems or 'Pltscombo' in stems):
        return 'rootsim'
    if ('ExtraMeasurements' in found.series or 'SatAux' in stems
            or any(c in (55, 60) for _, c, _, _ in found.points)):
        return 'rootsim_b3' if 'ABCD' in stems else 'rootsim_b'
    return None


def latest_time(found, record, totals):
    """How far the run got, in time units: the run record's time, else the
    latest time any file shows."""
    if record and isinstance(record.get('time'), (int, float)) and not isinstance(record.get('time'), bool):
        return float(record['time'])
    times = [0.0]
    if totals is not None and totals.shape[0]:
        times.append(float(totals[-1, 0]))
    times.extend(found.pictures.keys())
    for prof in found.profiles.values():
        times.extend(prof.times.keys())
    times.extend(found.dumps.keys())
    return float(max(times))


def expected_picture_stems(prog, found, time):
    """Stems of a whole picture set at the given time."""
    if prog is not None:
        return prog.first_pictures.get(time, prog.pictures)
    stems = set()
    for s in found.pictures.values():
        stems.update(s)
    return tuple(sorted(stems))


def check(found, prog, latest, finished):
    """Missing and empty files.  Returns a list of (heading, [names]); a
    heading with no names is left out.  A run still going is not blamed for
    the files of its latest time, which may be being written."""
    present = {f.name: f for f in found.all_files()}
    if found.run_record:
        present['run.json'] = found.run_record

    def due(t):
        return t < latest or (finished and t <= latest)

    missing_fixed, missing_sets, empty = [], {}, []
    if prog is not None:
        for name, first in prog.fixed:
            if due(first) and name not in present:
                missing_fixed.append(name)
        for period, formats in prog.per_time:
            t = period
            while due(t):
                gone = [f % t for f in formats if (f % t) not in present]
                if gone:
                    missing_sets.setdefault(t, []).extend(gone)
                t += period
        times = set(prog.picture_extra)
        t = prog.picture_period
        while due(t):
            times.add(t)
            t += prog.picture_period
        # the c program's time-0 picture is written before the first step
        times.update(prog.first_pictures)
        for t in sorted(times):
            if not due(t) and t not in prog.first_pictures:
                continue
            have = found.pictures.get(t, {})
            gone = ['%s_%08d.png' % (s, t) for s in expected_picture_stems(prog, found, t) if s not in have]
            if gone:
                missing_sets.setdefault(t, []).extend(gone)
    for name, info in sorted(present.items()):
        if info.size == 0:
            empty.append(name)

    out = []
    if missing_fixed:
        out.append(('missing files', missing_fixed))
    for t in sorted(missing_sets):
        out.append(('missing at time %d' % t, missing_sets[t]))
    if empty:
        out.append(('empty files', empty))
    return out
