"""Synthetic output directories for the report's tests: the files a run of
rootsim (or of one of the older programs) writes by a given time, in their
formats, with made-up values.

    python3 synth.py [--steps N] [--program NAME] [--partial] DIR

writes one into DIR (which must be empty or absent).
"""

import argparse
import json
import math
import os
import struct
import zlib

ROOTSIM_PICTURES = (
    'Aux', 'ARFKM_Aux', 'PINmem', 'Aux1mem', 'CellZonation', 'OscilationZone', 'PltsExp',
    'Plts', 'TimeOfPrevGrowth', 'Membrane', 'Priming', 'outside', 'Gh317', 'ARR1', 'ARR12',
    'ARR1_and12', 'Celltypes', 'Yuc3', 'Tmt', 'PltsExp2', 'Plts2', 'ARR1RGA', 'Plasmodesmata',
    'PIN2mem', 'PINtotmem', 'lowAuxin', 'Auxminpassed', 'ARRpassed', 'divTF', 'elongTF',
    'MeanAux', 'Gh33', 'IdealPINtot', 'IdealPIN1', 'IdealPIN2', 'IdealAUX1', 'VolfacAuxProd',
    'ABCD', 'Pltscombo', 'Combined')
B_PICTURES = ('Aux', 'SatAux', 'PINmem', 'Aux1mem', 'CellZonation', 'OscilationZone',
              'TimeOfPrevGrowth', 'Membrane', 'Priming')
C_PICTURES = ('Tissue', 'Aux', 'PINmem', 'Aux1mem', 'PltsExpression', 'Plts')

# Per-cell tracks (a line per cell) and row-average tracks (a line per row).
CELL_TRACKS = (
    'TrackAuxCorinSpaceTime', 'TrackAuxendoinSpaceTime', 'TrackAuxperiinSpaceTime',
    'TrackAuxsidevascinSpaceTime', 'TrackAuxmidvascinSpaceTime', 'TrackAuxinSpaceTime',
    'TrackARR1sexpinSpaceTime', 'TrackARR12sexpinSpaceTime', 'TrackARR1seffinSpaceTime',
    'TrackPltsinSpaceTime', 'TrackPltsexpinSpaceTime', 'TrackPltscorinSpaceTime',
    'TrackPltscorexpinSpaceTime', 'TrackCellTypeinSpaceTime', 'TrackdivTFinSpaceTime',
    'TrackelongTFinSpaceTime', 'TrackdivTFvascinSpaceTime', 'TrackelongTFvascinSpaceTime')
ROW_TRACKS = (
    'TrackARR1vascexpinSpaceTime', 'TrackARR12vascexpinSpaceTime', 'TrackARR1vasceffinSpaceTime',
    'TrackPltsvascinSpaceTime', 'TrackPltsvascexpinSpaceTime', 'TrackPltsaverageinSpaceTime',
    'TrackPltsaverageexpinSpaceTime')
GRID_TISSUES = (('RC1', 1), ('Epi', 30), ('Cort', 49), ('Endo', 70), ('Peri', 83),
                ('Vasc1', 92), ('Vasc2', 98), ('Vasc3', 111))
PROBE_ROWS = (149, 14, 32, 50, 68, 86, 104, 122, 140, 158, 176, 194, 212, 230, 284, 356)


def png(width, height, seed):
    """A small valid RGB PNG with a pattern that depends on seed."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(((x * 20 + seed * 37) % 256, (y * 3 + seed * 11) % 256, (seed * 53) % 256))

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 1)) + chunk(b'IEND', b''))


def top_row(t, total):
    """The root's top row: 1067 at first, reaching the grid's end by the end."""
    return int(1067 + (1899 - 1067) * min(1.0, t / max(total, 1.0)))


def _write(path, lines):
    with open(path, 'w') as f:
        f.write(''.join(lines))


def times(period, total, start=None):
    t = start if start is not None else period
    out = []
    while t <= total:
        out.append(t)
        t += period
    return out


def make_rootsim(d, total, pictures=True, picture_size=(9, 76), tracks=None):
    """Files of rootsim up to time total (of its space-time tracks only those
    named in tracks, when given)."""
    _write(os.path.join(d, 'Totalauxin'), ['%i\t%f\t%f\n' % (t, 6e6 - 5 * t, (6e6 - 5 * t) / 427500)
                                           for t in times(20, total)])
    _write(os.path.join(d, 'Totalplts'), ['%i\t%f\t%f\n' % (t, 53000 + math.sin(t / 900) * 300,
                                                            147 + math.sin(t / 900))
                                          for t in times(20, total)])
    _write(os.path.join(d, 'Tracktotalrootsize'), ['%i\t%i\t%i\n' % (t, 1067 + t // 600, 1067 + t // 610)
                                                   for t in times(600, total)])
    _write(os.path.join(d, 'Tracktotalrootnumber'), ['%i\t%i\t%i\n' % (t, 21 + t // 6000, 21 + t // 6100)
                                                     for t in times(600, total)])
    for name in CELL_TRACKS:
        if tracks is not None and name not in tracks:
            continue
        lines = []
        for t in times(600, total):
            top = top_row(t, total)
            for r in range(141, top, 9 + len(name) % 5):
                if 'CellType' in name:
                    lines.append('%i\t%i\t%i\n' % (t, r, 30 if r < 300 else (60 if r < 500 else 200)))
                else:
                    lines.append('%i\t%i\t%f\n' % (t, r, 50 + 40 * math.sin(r / 80 + t / 5000)))
            lines.append('\n')
        _write(os.path.join(d, name), lines)
    for name in ROW_TRACKS:
        if tracks is not None and name not in tracks:
            continue
        lines = []
        for t in times(600, total):
            top = top_row(t, total)
            lines.extend('%i\t%i\t%f\n' % (t, r, 1 + (r % 97) / 97.0) for r in range(141, top))
            lines.append('\n')
        _write(os.path.join(d, name), lines)
    point_times = times(3600, total)
    for col in (93, 84):
        for row in PROBE_ROWS:
            _write(os.path.join(d, 'TemporalDynamicsPoint%i_%i' % (col, row)),
                   [probe_line(t, row) for t in point_times])
    if point_times:
        _write(os.path.join(d, 'TemporalDynamicsQC109_140'), [probe_line(t, 140) for t in point_times])
    for t in point_times:
        for tissue, col in GRID_TISSUES:
            top = top_row(t, total)
            for side, c in (('L', col), ('R', 224 - col)):
                lines = ['%i\t%i\t%i\t%f\t%f\t%f\t%f\t%f\t%f\n' % (c, c + 5, r, 100 - r / 2, 1.0, 2.0, 150.0, 0.0, 1.0)
                         for r in range(0, 149, 2)]
                lines += ['%i\t%i\t%i\t%f\t%f\t%f\n' % (c, c + 5, r, aux(r, t, side), r % 40 / 4.0, 30.0)
                          for r in range(8, min(top, 1870))]
                _write(os.path.join(d, 'GridResolution%s_%s_time%i' % (side, tissue, t)), lines)
    if pictures:
        for t in [0, 100] + point_times:
            if t <= total:
                for k, stem in enumerate(ROOTSIM_PICTURES):
                    write_picture(d, stem, t, k, picture_size)
    cells = max(1, int(total // 720))
    for n in range(1, cells + 1):
        born = n * 700
        _write(os.path.join(d, 'TrackCell_%d' % n),
               ['%i\t%i\t%f\t%f\t%i\t%f\t%i\t%i\n' % (t, n, 150 - (t - born) / 1000, 0.0, 8,
                                                      162.5 + (t - born) / 200, 1, 0)
                for t in times(100, total, start=(born // 100 + 1) * 100)])
    if total > 57600:
        _write(os.path.join(d, 'Lateralrootcapculling'),
               ['%f 1\n' % (t / 3600.0) for t in range(57610, int(total), 2400)])
    for t in times(50000, total):
        _write(os.path.join(d, 'DumpPlantStateAt%010d' % t), ['0\t' * 10 + '\n'])


def aux(r, t, side):
    """A made-up auxin profile, slightly asymmetric between the halves."""
    return 5 + 150 * math.exp(-(r - 150) ** 2 / 5000.0) + (0.5 if side == 'L' else 0) * math.sin(t)


def probe_line(t, row):
    v = [60 + row / 10 + t / 3600.0] + [float(k + row % 7) for k in range(12)]
    return '%i' % t + ''.join('\t%f' % x for x in v) + '\n'


def write_picture(d, stem, t, seed, size):
    with open(os.path.join(d, '%s_%08d.png' % (stem, t)), 'wb') as f:
        f.write(png(size[0], size[1], seed + t // 100))


def make_b(d, total, b3=False):
    """Files of the older programs of the b family up to time total."""
    _write(os.path.join(d, 'Totalauxin'), ['%i\t%f\t%f\n' % (t, 2e6 - t, (2e6 - t) / 123093)
                                           for t in times(20, total)])
    pt = times(3600, total)
    extra = []
    for t in pt:
        extra.append('%i\t%i\t%i\t%f\t%i' % (t, 300 + t // 3600, 12, 40.0, 150)
                     + ''.join('\t%f' % (10 + k % 5) for k in range(26)) + '\n')
    _write(os.path.join(d, 'ExtraMeasurements'), extra)
    _write(os.path.join(d, 'ExtraMeasurements2'), ['%i\t%i\t%i\t%i\n' % (t, 40, 2, t - 100) for t in pt])
    first = 102 if b3 else 127
    for col in (60, 55):
        for row in (first,) + tuple(range(147, 288, 10)) + (317, 357):
            _write(os.path.join(d, 'TemporalDynamicsPoint%i_%i' % (col, row)), [probe_line(t, row) for t in pt])
    for t in pt:
        for tissue, col in GRID_TISSUES:
            for side, c in (('L', min(col, 60)), ('R', 140 - min(col, 60))):
                _write(os.path.join(d, 'GridResolution%s_%s_time%i' % (side, tissue, t)),
                       ['%i\t%i\t%i\t%f\t%f\t%f\n' % (c, c + 4, r, aux(r, t, side), 1.0, 2.0)
                        for r in range(8, 860)])
    _write(os.path.join(d, 'Lateralrootcapculling'), ['%f 1\n' % (t / 3600.0) for t in range(1000, int(total), 3000)])
    stems = B_PICTURES + (('ABCD',) if b3 else ())
    for t in [0] + pt:
        for k, stem in enumerate(stems):
            write_picture(d, stem, t, k, (7, 44))


def make_c(d, total):
    """Files of rootsim_c up to time total."""
    _write(os.path.join(d, 'Totalauxin'), ['%i\t%f\t%f\n' % (t, 3e6 - t, (3e6 - t) / 447282)
                                           for t in times(20, total)])
    pt = times(360, total)
    for col in (12, 238):
        _write(os.path.join(d, 'TemporalDynamicsPoint%i_288' % col), [probe_line(t, 288) for t in pt])
    write_picture(d, 'Aux', 0, 1, (12, 85))
    for t in pt:
        for tissue, col in (('epi', 40), ('cortex', 60), ('endo', 80), ('vasc', 110)):
            for side, c in (('L', col), ('R', 250 - col)):
                _write(os.path.join(d, 'GridResolution_%s%s_time%i' % (tissue, side, t)),
                       ['%i\t%i\t%i\t%f\t%f\t%f\n' % (c, c + 4, r, aux(r, t, side), 1.0, 2.0)
                        for r in range(8, 1700, 3)])
                _write(os.path.join(d, 'Spatialdynamics_%s%s_time%i' % (tissue, side, t)),
                       ['%d\t%s\t%i\n' % (r, '\t'.join(['-10.000000'] * 9), -10) if r > 1500 else
                        '%d\t%f\t%s\t%i\n' % (r, aux(r, t, side), '\t'.join(['%f' % (r / 100.0)] * 8), 9)
                        for r in range(0, 1782, 4)])
        for side in ('Left', 'Right'):
            _write(os.path.join(d, 'EpidermalGrad%s_time%i' % (side, t)),
                   ['%i\t%f\t%f\n' % (r, aux(r, t, side[0]), r / 10.0) for r in range(0, 1600, 10)])
        _write(os.path.join(d, 'GridResolution_j300_time%i' % t), ['%i\t%f\n' % (c, 1.0) for c in range(251)])
        for k, stem in enumerate(C_PICTURES):
            write_picture(d, stem, t, k, (12, 85))


def make_partial(d, total):
    """Turns a finished rootsim directory into one whose run is still
    writing at time total: cut lines and blocks, a picture set half written
    with one picture cut short, a profile half not written yet."""
    with open(os.path.join(d, 'Totalauxin'), 'a') as f:
        f.write('%i\t59' % (total + 20))                 # a line being written
    with open(os.path.join(d, 'TrackAuxinSpaceTime'), 'a') as f:
        f.write('%i\t141\t50.000000\n%i\t150\t4' % (total + 600, total + 600))   # an unfinished block
    t = 3600 * (int(total) // 3600)
    for k, stem in enumerate(ROOTSIM_PICTURES):
        path = os.path.join(d, '%s_%08d.png' % (stem, t))
        if k == 10:
            with open(path, 'r+b') as f:
                f.truncate(40)                            # being written
        elif k > 10:
            os.remove(path)                               # not written yet
    os.remove(os.path.join(d, 'GridResolutionR_Epi_time%i' % t))


def make(d, steps=3000, program='rootsim', partial=False, record=None, pictures=True, tracks=None):
    """Writes a synthetic output directory for a run of the given number of
    steps (0.2 time units each)."""
    os.makedirs(d, exist_ok=True)
    total = steps * 0.2
    if program == 'rootsim':
        make_rootsim(d, total, pictures=pictures, tracks=tracks)
        if partial:
            make_partial(d, total)
    elif program in ('rootsim_b', 'rootsim_b3'):
        make_b(d, total, b3=program == 'rootsim_b3')
    elif program == 'rootsim_c':
        make_c(d, total)
    else:
        raise ValueError(program)
    if record is not None:
        with open(os.path.join(d, 'run.json'), 'w') as f:
            json.dump(record, f)
    return total


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--steps', type=int, default=540000)
    parser.add_argument('--program', default='rootsim')
    parser.add_argument('--partial', action='store_true')
    parser.add_argument('directory')
    args = parser.parse_args()
    if os.path.exists(args.directory) and os.listdir(args.directory):
        parser.error('%s is not empty' % args.directory)
    make(args.directory, args.steps, args.program, args.partial)


if __name__ == '__main__':
    main()
