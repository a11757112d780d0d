// node read_with_mdb_reader.mjs MODULE_DIR FILE [PASSWORD]: the user tables as mdb-reader reads
// them (an Office-encrypted file with its password), as JSON
// {"tables": {name: {"columns": [{name, type}], "rows": [[value]]}}}, dates UTC, buffers base64;
// a table it cannot read gives {"error": message} instead.
import { createRequire } from "module";
import fs from "fs";
import path from "path";
import url from "url";

process.env.TZ = "UTC";
const [moduleDir, file, password] = process.argv.slice(2);
const entry = createRequire(path.join(path.resolve(moduleDir), "noop.js")).resolve("mdb-reader");
const reader = new (await import(url.pathToFileURL(entry))).default(fs.readFileSync(file), { password });
const tables = {};
const value = (v) => v instanceof Date ? { date: isNaN(v) ? null : v.toISOString() }
    : Buffer.isBuffer(v) ? { base64: v.toString("base64") }
    : typeof v === "bigint" ? v.toString() : v === undefined ? null
    : Array.isArray(v) ? v.map(value)
    : v !== null && typeof v === "object" ? Object.fromEntries(
        Object.entries(v).map(([k, x]) => [k, value(x)])) : v;
for (const name of reader.getTableNames()) {
    try {
        const table = reader.getTable(name);
        const columns = table.getColumns().map((c) => ({ name: c.name, type: c.type }));
        const rows = table.getData().map((row) => columns.map(({ name }) => value(row[name])));
        tables[name] = { columns, rows };
    } catch (error) {
        // Column by column then: those it cannot read are listed as such.
        try {
            const table = reader.getTable(name);
            const columns = table.getColumns().map((c) => ({ name: c.name, type: c.type }));
            const unreadable = [];
            const each = columns.map(({ name: column }) => {
                try {
                    return table.getData({ columns: [column] }).map((row) => value(row[column]));
                } catch {
                    unreadable.push(column);
                    return null;
                }
            });
            const rows = Array.from({ length: table.rowCount },
                (_, r) => each.map((values) => values ? values[r] : null));
            tables[name] = { columns, rows, unreadable };
        } catch (again) {
            tables[name] = { error: String(error) };
        }
    }
}
process.stdout.write(JSON.stringify({ tables }));
