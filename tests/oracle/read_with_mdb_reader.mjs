// Prints every user table of an Access file as read by the mdb-reader package, as one JSON
// document: {"tables": {name: {"columns": [{name, type}], "rows": [[value, ...], ...]}}}.
// Dates become ISO strings (UTC), buffers base64, so the comparison sees plain JSON.
// usage: node read_with_mdb_reader.mjs MODULE_DIR FILE
import { createRequire } from "module";
import fs from "fs";
import path from "path";
import url from "url";

process.env.TZ = "UTC";
const [moduleDir, file] = process.argv.slice(2);
const entry = createRequire(path.join(path.resolve(moduleDir), "noop.js")).resolve("mdb-reader");
const MDBReader = (await import(url.pathToFileURL(entry))).default;

const reader = new MDBReader(fs.readFileSync(file));
const tables = {};
for (const name of reader.getTableNames()) {
    const table = reader.getTable(name);
    const columns = table.getColumns().map((c) => ({ name: c.name, type: c.type }));
    const rows = table.getData().map((row) =>
        columns.map(({ name }) => {
            const v = row[name];
            if (v instanceof Date) return { date: isNaN(v) ? null : v.toISOString() };
            if (Buffer.isBuffer(v)) return { base64: v.toString("base64") };
            if (typeof v === "bigint") return v.toString();
            return v === undefined ? null : v;
        }));
    tables[name] = { columns, rows };
}
process.stdout.write(JSON.stringify({ tables }));
