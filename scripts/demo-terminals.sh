# Sourced by run.sh: starts one terminal simulator (zksim) per terminal row of
# the demo on loopback, each preloaded on its first start with a month of
# punches (the previous calendar month, or DEMO_PUNCH_MONTH=YYYY-MM) for the
# bio IDs of its office's employees. State in var/zksim/, pid files in
# var/run/ (./run.sh --stop ends them), output in var/zksim/PORT.log.

demo_month=${DEMO_PUNCH_MONTH:-$(date -d "$(date +%Y-%m-01) -1 month" +%Y-%m)}
demo_weekdays=$(/usr/bin/python3 -c "
import calendar; y, m = map(int, '$demo_month'.split('-'))
print(sum(1 for d in range(1, calendar.monthrange(y, m)[1] + 1) if calendar.weekday(y, m, d) < 5))") ||
  die "DEMO_PUNCH_MONTH must be YYYY-MM"
mkdir -p "$VAR/zksim"
while IFS='|' read -r port ids; do
  [ -n "$port" ] || continue
  pidfile=$VAR/run/zksim-$port.pid
  if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
    continue
  fi
  log "starting the terminal simulator on 127.0.0.1:$port"
  args=(--port "$port" --state "$VAR/zksim/$port.json")
  if [ -n "$ids" ]; then
    people=$(tr ',' '\n' <<<"$ids" | wc -l)
    count=$((people * 4 * demo_weekdays))
    args+=(--user-ids "$ids" --punches "$count" --month "$demo_month")
  fi
  nohup "$BIN/zksim" "${args[@]}" >"$VAR/zksim/$port.log" 2>&1 &
  echo $! >"$pidfile"
  for _ in $(seq 50); do
    grep -q 'listening' "$VAR/zksim/$port.log" 2>/dev/null && break
    sleep 0.1
  done
  grep -q 'listening' "$VAR/zksim/$port.log" || die "the simulator on port $port did not start: $(cat "$VAR/zksim/$port.log")"
done < <(pg_psql "$PG_PORT" "$PG_PASSWORD" "$DEMO_DB" -tA -c "
  SELECT d.zkteco_port, coalesce(string_agg(b.bioid, ',' ORDER BY b.bioid::int), '')
  FROM zkteco_devices d LEFT JOIN bioemp_profile b ON b.officeid = d.officeid
  WHERE d.zkteco_ipadd IN ('127.0.0.1', 'localhost')
  GROUP BY d.zkteco_port ORDER BY d.zkteco_port")

# The terminal protocol is built into Orvanta here: mark the terminal software
# as present so that the screens that talk to terminals are enabled.
grep -qi '^zkteco=' "$SETTINGS" || sed -i '/^\[upControl\]/a zkteco=1' "$SETTINGS"
