# docs/soak.svg from the soak's data: close latency over the run (median, 99th percentile, worst
# per time bin) above, each process's runtime heap in use below. Called by scripts/run-soak with
# dir, minutes, build and processes set.
set terminal svg size 900,700 font "sans,12" background rgb "white"
set termoption noenhanced
set multiplot layout 2,1 title sprintf("lunet soak under Wine (%s build), %s minutes", build, minutes)

set title "Close latency under load: redraw forwarded to WM_CLOSE"
set xlabel "time since start (s)"
set ylabel "latency (ms, log scale)"
set logscale y
set grid
set key top right
plot dir."/soak-latency.dat" using 1:2 with lines lw 2 title "median", \
     "" using 1:3 with lines lw 1 title "99th percentile", \
     "" using 1:4 with points pt 7 ps 0.4 title "worst"

unset logscale y
set title "Runtime heap in use of each window-owning process (a gap: ended abruptly, replaced)"
set ylabel "heap in use (KiB)"
set key outside right
plot for [i=0:processes-1] dir."/soak-memory.dat" index i using 1:4 with lines \
     title columnheader(1)
unset multiplot
