#!/usr/bin/env bash
# Prints the same PDF at A4 300 dpi with `pixmor print`, with pdftoppm and
# with Ghostscript's BMP device in one run, and prints the ratios against the
# goals: pixmor within 1.3 times pdftoppm's time, and pixmor's peak memory
# (above what the same job needs at 36 dpi) no more than the surface, one
# page file and one band.
set -euo pipefail
cd "$(dirname "$0")/.."
pixmor=${PIXMOR:-build/linux-release/bin/pixmor}
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ps2pdf -sPAPERSIZE=a4 host/samples/sample.ps "$work/sample.pdf"
pages=$(pdfinfo "$work/sample.pdf" | awk '/^Pages:/ {print $2}')

# best wall time of $runs runs, in seconds, and the peak resident set in KiB
measure() {
  local best="" peak=0
  for _ in $(seq "$runs"); do
    rm -rf "$work/out" && mkdir -p "$work/out"
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1
    read -r seconds kib <"$work/time"
    if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best=$seconds; fi
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  echo "$best $peak"
}

spool="$work/spool"
"$pixmor" printer add Pixmor --spool "$spool" >/dev/null
read -r t_pixmor m_pixmor < <(measure "$pixmor" print --quiet --spool "$spool" --paper A4 --dpi 300 \
  --colour -o "$work/out/job.bmp" "$work/sample.pdf")
# The same document at 36 dpi: everything but the page-sized buffers.
read -r t_idle m_idle < <(measure "$pixmor" print --quiet --spool "$spool" --paper A4 --dpi 36 \
  --colour -o "$work/out/job.bmp" "$work/sample.pdf")
read -r t_pdftoppm m_pdftoppm < <(measure pdftoppm -r 300 "$work/sample.pdf" "$work/out/page")
read -r t_gs m_gs < <(measure gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=bmp16m -r300 \
  -sOutputFile="$work/out/page-%d.bmp" "$work/sample.pdf")

# A4 at 300 dpi: 2480 x 3508 pixels, 24 bits; a band is 256 rows of 32 bits.
surface_kib=$(( 2480 * 3 * 3508 / 1024 ))
file_kib=$(( (54 + 2480 * 3 * 3508) / 1024 ))
band_kib=$(( 2480 * 4 * 256 / 1024 ))
limit_kib=$(( surface_kib + file_kib + band_kib ))
used_kib=$(( m_pixmor - m_idle ))

echo "pages: $pages; best of $runs runs"
echo "pixmor print: ${t_pixmor} s, peak ${m_pixmor} KiB (${m_idle} KiB at 36 dpi)"
echo "pdftoppm -r 300: ${t_pdftoppm} s, peak ${m_pdftoppm} KiB"
echo "gs bmp16m -r300: ${t_gs} s, peak ${m_gs} KiB"
awk -v a="$t_pixmor" -v b="$t_pdftoppm" 'BEGIN { printf "print_vs_pdftoppm_time: %.2f (goal <= 1.30)\n", a / b }'
awk -v a="$t_pixmor" -v b="$t_gs" 'BEGIN { printf "print_vs_ghostscript_time: %.2f (no goal)\n", a / b }'
awk -v a="$used_kib" -v b="$limit_kib" \
  'BEGIN { printf "print_page_memory_vs_surface_file_band: %.2f (goal <= 1.00)\n", a / b }'
