"""Headless Chromium for the report tests: the page's DOM after its scripts
ran and its images loaded, and screenshots."""

import os
import shutil
import subprocess
import tempfile

FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--disable-dev-shm-usage', '--hide-scrollbars', '--virtual-time-budget=15000']

# Marks every image with whether it loaded, once they are all complete (or
# after a few seconds of page time), and the body with the count.
CHECK_SCRIPT = """<script>
window.addEventListener('load', function () {
  var tries = 0;
  (function mark() {
    var imgs = Array.prototype.slice.call(document.images);
    if (imgs.some(function (i) { return !i.complete; }) && ++tries < 50) return setTimeout(mark, 100);
    imgs.forEach(function (i) {
      i.setAttribute('data-check', i.complete && i.naturalWidth > 0 ? 'loaded' : 'broken');
    });
    document.body.setAttribute('data-checked', String(imgs.length));
  })();
});
</script>"""


def chromium():
    path = shutil.which('chromium') or '/usr/bin/chromium'
    if not os.access(path, os.X_OK):
        raise RuntimeError('chromium is not installed (tools/install-deps.sh installs it)')
    return path


def _run(args, timeout=120):
    with tempfile.TemporaryDirectory(prefix='report-chromium-') as profile:
        proc = subprocess.run([chromium()] + FLAGS + ['--user-data-dir=' + profile] + args,
                              capture_output=True, text=True, timeout=timeout)
    if proc.returncode != 0:
        raise RuntimeError('chromium failed (%d): %s' % (proc.returncode, proc.stderr[-2000:]))
    return proc.stdout


def checked_dom(index_html, fragment=''):
    """The DOM of the page after load, each img marked data-check="loaded"
    or "broken".  The page is copied beside itself with the marking script
    added, so that its relative links still hold."""
    with open(index_html, encoding='utf-8') as f:
        text = f.read()
    check = os.path.join(os.path.dirname(index_html), '_check.html')
    with open(check, 'w', encoding='utf-8') as f:
        f.write(text.replace('</body>', CHECK_SCRIPT + '</body>'))
    try:
        return _run(['--dump-dom', 'file://' + check + fragment])
    finally:
        os.remove(check)


def screenshot(index_html, out_png, width=1280, height=1600):
    _run(['--window-size=%d,%d' % (width, height), '--screenshot=' + out_png, 'file://' + index_html])
    return out_png
