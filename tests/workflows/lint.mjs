// Checks GitHub Actions workflows against GitHub's own workflow schema, through its parser:
// prints each error with its file, line and column; exits with 1 on any.
//   node --experimental-loader json-loader.mjs lint.mjs PARSER_FOLDER WORKFLOW...
import {readFileSync} from "node:fs";
import {join} from "node:path";
import {pathToFileURL} from "node:url";

const [folder, ...files] = process.argv.slice(2);
const parser = await import(pathToFileURL(join(folder, "node_modules/@actions/workflow-parser/dist/index.js")));
let failed = 0;
for (const name of files) {
  const result = parser.parseWorkflow({name, content: readFileSync(name, "utf8")}, new parser.NoOperationTraceWriter());
  if (result.value) await parser.convertWorkflowTemplate(result.context, result.value);
  for (const error of result.context.errors.getErrors()) {
    console.log(error.message);
    failed = 1;
  }
}
process.exit(failed);
