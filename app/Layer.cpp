// Layer anchor: keeps the static library non-empty.
