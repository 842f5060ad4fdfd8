#!/usr/bin/env bash
# Checks that #include lines follow the layers: each folder includes only the folders below it,
# and the core folders include no Qt header. Prints each wrong line; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# Folder of editor/ (or a top folder) -> the editor folders its files may include.
declare -A allowed=(
    [editor/database]="database"
    [editor/localisation]="localisation"
    [editor/model]="database model"
    [editor/dialogs]="database localisation dialogs"
    [editor/assets]="database model assets"
    [editor/toolkit]="toolkit"
    [editor/document]="database model document"
    [editor/windows]="database localisation model dialogs assets toolkit document windows"
    [editor/app]="database localisation model dialogs assets toolkit document windows app"
    [cli]="database localisation model assets"
    [wren_utils]=""
)
# Folders that build without Qt.
qt_free="editor/database editor/localisation editor/model wren_utils"

status=0
for folder in "${!allowed[@]}"; do
    [ -d "$folder" ] || continue
    while IFS= read -r hit; do
        file=${hit%%:*}
        rest=${hit#*:}
        line=${rest%%:*}
        text=${rest#*:}
        target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"editor\/\([a-z_]*\)\/.*/\1/p' <<<"$text")
        if [ -n "$target" ] && [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$file:$line: $folder may not include editor/$target: $text"
            status=1
        fi
    done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"editor/' "$folder" || true)
done
for folder in $qt_free; do
    [ -d "$folder" ] || continue
    while IFS= read -r hit; do
        echo "$hit: $folder builds without Qt"
        status=1
    done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$folder" || true)
done
exit $status
