# Sourced by run.sh when there is no display: the demo's road through
# orvanta-cli. Downloads the demo terminals, generates the month of their
# punches and writes the Form 48 DTRs of the demo office to one PDF, then
# prints where it is. A step whose command this build lacks is skipped with a
# message. Uses BIN, SETTINGS, VAR, PG_PORT, PG_PASSWORD and DEMO_DB of run.sh.

demo_cli() { "$BIN/orvanta-cli" --settings "$SETTINGS" "$@"; }
demo_has() { demo_cli "$1" --help >/dev/null 2>&1; }
demo_sql() { pg_psql "$PG_PORT" "$PG_PASSWORD" "$DEMO_DB" -tAc "$1"; }

# The demo office: the first office with a terminal.
demo_office=$(demo_sql "SELECT off_name FROM offices o WHERE EXISTS (SELECT 1 FROM zkteco_devices d
  WHERE d.officeid = o.officeid) ORDER BY o.officeid LIMIT 1")
[ -n "$demo_office" ] || demo_office=$(demo_sql "SELECT off_name FROM offices ORDER BY officeid LIMIT 1")

log "1. download the punches of the demo terminals"
if demo_has download; then
  # One log line per punch: kept in a file, the summary shown.
  if demo_cli download --all >"$VAR/demo-download.log" 2>&1; then
    tail -n 1 "$VAR/demo-download.log"
  else
    tail -n 5 "$VAR/demo-download.log"
    echo "The download did not complete (log: $VAR/demo-download.log); going on with the punches already stored."
  fi
else
  echo "Skipped: this build has no 'download' command yet."
fi

# The month: the latest month with punches, else the simulators' month.
demo_month=$(demo_sql "SELECT to_char(max(att_date), 'YYYY-MM') FROM attendance_read")
[ -n "$demo_month" ] || demo_month=${DEMO_PUNCH_MONTH:-$(date -d "$(date +%Y-%m-01) -1 month" +%Y-%m)}

log "2. generate the DTRs of $demo_office for $demo_month"
if demo_has generate; then
  demo_usage=$(demo_cli generate --help)
  if grep -q -- '--office' <<<"$demo_usage"; then
    demo_cli generate --month "$demo_month" --office "$demo_office" || echo "The generation failed."
  elif grep -q -- '--all' <<<"$demo_usage"; then
    demo_cli generate --month "$demo_month" --all || echo "The generation failed."
  else
    for demo_id in $(demo_sql "SELECT DISTINCT p.employeeid FROM bioemp_profile p JOIN offices o
        ON o.officeid = p.officeid WHERE o.off_name = '${demo_office//\'/\'\'}' ORDER BY 1"); do
      demo_cli generate --employee "$demo_id" --month "$demo_month" >/dev/null || echo "The generation of $demo_id failed."
    done
  fi
else
  echo "Skipped: this build has no 'generate' command yet."
fi

log "3. write the Form 48 DTRs of $demo_office"
demo_pdf=$VAR/dtr-$demo_month.pdf
if demo_cli report --month "$demo_month" --office "$demo_office" --pdf "$demo_pdf"; then
  echo
  echo "The Form 48 DTRs of $demo_office for $demo_month: $demo_pdf"
else
  echo "No PDF was written (see the message above)."
fi
