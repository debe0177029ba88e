// What a browser's URL parser makes of URLs: reads a JSON array of texts
// on standard input, writes a JSON array of their href (or null where the
// parser refuses the URL).
"use strict";
let input = "";
process.stdin.setEncoding("utf8");
process.stdin.on("data", (chunk) => { input += chunk; });
process.stdin.on("end", () => {
  const out = JSON.parse(input).map((u) => {
    try {
      return new URL(u).href;
    } catch (e) {
      return null;
    }
  });
  process.stdout.write(JSON.stringify(out));
});
