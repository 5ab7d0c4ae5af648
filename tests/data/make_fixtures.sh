#!/usr/bin/env bash
# Rebuilds the archive fixtures: three archives made by Debian's lha command
# (jlha-utils) with the -lh5-, -lh6- and -lh7- methods, and the damaged or
# hostile archives written by make_bad_archives.py.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 - <<'PY'
setus = ''.join(f'{c},12,2002030{d},"ＳＧ　第{d}回,記念",x,6,5,6.25,1\r\n'
                for d, c in ((5, 12345), (6, 12346), (7, 12347)))
open('kelmfa.txt', 'wb').write(setus.encode('cp932'))
races = ''.join(f'12345,1,{r},"予選 第{r}レース",{10 + r // 2:02d}{(r * 7) % 60:02d}\r\n'
                for r in range(1, 13))
open('kelmfc.txt', 'wb').write(races.encode('cp932'))
open('4321.gif', 'wb').write(bytes.fromhex(
    '47494638396101000100800000000000ffffff21f90401000000002c00000000010001000002024401003b'))
PY
for m in 5 6 7; do
  rm -f "$here/paper_lh$m.lzh"
  lha -ao$m "$here/paper_lh$m.lzh" kelmfa.txt kelmfc.txt 4321.gif >/dev/null
done
python3 "$here/make_bad_archives.py" "$here"

# Archives that expand far beyond their size: one race card of 5 MB, and five
# paper files of 3.5 MB each (17.5 MB together).
python3 - <<'PY'
line = b'12345,1,1,1,' + b'0,' * 180 + b'0\r\n'
open('big.txt', 'wb').write((line * 30000)[:5 * 1024 * 1024])
part = (line * 10000)[:3 * 1024 * 1024 + 512 * 1024]
for n in 'abcdf':
    open(f'kelmf{n}.txt', 'wb').write(part)
PY
mv big.txt kelmfd5.txt
rm -f "$here/oversize.lzh" "$here/toomuch.lzh"
mkdir one && mv kelmfd5.txt one/kelmfd.txt
(cd one && lha -ao5 "$here/oversize.lzh" kelmfd.txt >/dev/null)
lha -ao5 "$here/toomuch.lzh" kelmfa.txt kelmfb.txt kelmfc.txt kelmfd.txt kelmff.txt >/dev/null
# The first ten bytes of an archive: cut inside its first header.
head -c 10 "$here/paper_lh5.lzh" > "$here/cut10.lzh"
