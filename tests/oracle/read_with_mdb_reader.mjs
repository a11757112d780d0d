// node read_with_mdb_reader.mjs MODULE_DIR FILE [PASSWORD]: the user tables as mdb-reader reads
// them (an Office-encrypted file with its password), as JSON
// {"tables": {name: {"columns": [{name, type}], "rows": [[value]]}}}, dates UTC, buffers base64.
import { createRequire } from "module";
import fs from "fs";
import path from "path";
import url from "url";

process.env.TZ = "UTC";
const [moduleDir, file, password] = process.argv.slice(2);
const entry = createRequire(path.join(path.resolve(moduleDir), "noop.js")).resolve("mdb-reader");
const reader = new (await import(url.pathToFileURL(entry))).default(fs.readFileSync(file), { password });
const tables = {};
for (const name of reader.getTableNames()) {
    const table = reader.getTable(name);
    const columns = table.getColumns().map((c) => ({ name: c.name, type: c.type }));
    const value = (v) => v instanceof Date ? { date: isNaN(v) ? null : v.toISOString() }
        : Buffer.isBuffer(v) ? { base64: v.toString("base64") }
        : typeof v === "bigint" ? v.toString() : v === undefined ? null : v;
    const rows = table.getData().map((row) => columns.map(({ name }) => value(row[name])));
    tables[name] = { columns, rows };
}
process.stdout.write(JSON.stringify({ tables }));
