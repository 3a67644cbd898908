// Reads a terminal with node-zklib, an independent public client of the
// terminal protocol, and prints what it saw as one JSON line.
//   node read_terminal.js PORT [clear]
const ZKLib = require('node-zklib');

const pad = (n) => String(n).padStart(2, '0');
const localText = (d) =>
  `${d.getFullYear()}-${pad(d.getMonth() + 1)}-${pad(d.getDate())} ` +
  `${pad(d.getHours())}:${pad(d.getMinutes())}:${pad(d.getSeconds())}`;

(async () => {
  const zk = new ZKLib('127.0.0.1', Number(process.argv[2]), 10000, 0);
  await zk.createSocket();
  const info = await zk.getInfo();
  const users = await zk.getUsers();
  const logs = await zk.getAttendances();
  if (process.argv[3] === 'clear') await zk.clearAttendanceLog();
  await zk.disconnect();
  const line = JSON.stringify({
    info,
    users: users.data.map((u) => ({ uid: u.uid, userId: u.userId, name: u.name, role: u.role })),
    punches: logs.data.map((p) => ({ userId: p.deviceUserId, time: localText(p.recordTime) })),
    error: logs.err ? String(logs.err.message || logs.err) : null,
  });
  // Exit only once the whole line is out: a pipe takes it asynchronously.
  process.stdout.write(`${line}\n`, () => process.exit(0));
})().catch((e) => {
  console.error(`node-zklib failed: ${e && (e.message || JSON.stringify(e))}`);
  process.exit(1);
});
