# docs/latency.svg from the Wine benchmark's close latencies: the share of windows closed within
# a time, for the hook and for the two polling closers, on a logarithmic time axis. Called by
# scripts/run-bench with dir and build set.
set terminal svg size 900,560 font "sans,12" background rgb "white"
set termoption noenhanced
set title sprintf("Time from an advertisement's appearance to its WM_CLOSE, under Wine (%s build)", build)
set xlabel "latency to WM_CLOSE (ms, log scale)"
set ylabel "share of windows closed (%)"
set logscale x
set format x "%g"
set yrange [0:100]
set grid
set key below
plot dir."/latency-hook.dat" using ($1/1000):(100.0/HOOK) smooth cumulative with steps lw 2 \
       title "shell hook (lunet), title redrawn", \
     dir."/latency-poll100.dat" using ($1/1000):(100.0/POLL100) smooth cumulative with steps lw 2 \
       title "poller every 100 ms", \
     dir."/latency-poll250.dat" using ($1/1000):(100.0/POLL250) smooth cumulative with steps lw 2 \
       title "poller every 250 ms"
