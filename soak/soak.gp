# docs/soak.svg from the soak's data: close latency over the run (median and 99th percentile per
# time bin, worst for the hook) of the hook and of the 100 ms poller beside it; both
# distributions by percentile; each process's runtime heap in use. Called by scripts/run-soak
# with dir, minutes, build and processes set.
set terminal svg size 900,1000 font "sans,12" background rgb "white"
set termoption noenhanced
set multiplot layout 3,1 title sprintf("lunet soak under Wine (%s build), %s minutes", build, minutes)

set title "Close latency under one load: redraw forwarded to WM_CLOSE, hook and 100 ms poller"
set xlabel "time since start (s)"
set ylabel "latency (ms, log scale)"
set logscale y
set grid
set key top right
plot dir."/soak-latency.dat" using 1:2 with lines lw 2 lc rgb "#1f77b4" title "hook median", \
     "" using 1:3 with lines lw 1 lc rgb "#1f77b4" dt 2 title "hook 99th percentile", \
     "" using 1:4 with points pt 7 ps 0.4 lc rgb "#1f77b4" title "hook worst", \
     dir."/soak-poller-latency.dat" using 1:2 with lines lw 2 lc rgb "#d62728" title "poller median", \
     "" using 1:3 with lines lw 1 lc rgb "#d62728" dt 2 title "poller 99th percentile"

set title "Close latency distribution over the whole run, same processes and load"
set xlabel "latency (ms, log scale)"
set ylabel "closes within (%)"
set logscale x
unset logscale y
set yrange [0:100]
set key bottom right
plot dir."/soak-distribution.dat" using 2:1 with lines lw 2 lc rgb "#1f77b4" title "hook", \
     "" using 3:1 with lines lw 2 lc rgb "#d62728" title "100 ms poller"
unset logscale x
set autoscale y

set title "Runtime heap in use of each window-owning process (a gap: ended abruptly, replaced)"
set xlabel "time since start (s)"
set ylabel "heap in use (KiB)"
set key outside right
plot for [i=0:processes-1] dir."/soak-memory.dat" index i using 1:4 with lines \
     title columnheader(1)
unset multiplot
