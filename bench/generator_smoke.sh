#!/usr/bin/env bash
# The generator at its small size on SQLite: the rows it says it wrote are
# in the file, every order line belongs to a customer, and the same seed
# writes the same station again.
set -euo pipefail
gen="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$gen" --database "$dir/a.db" --customers 2000 --years 1 --seed 7 > "$dir/a.out" 2>/dev/null
"$gen" --database "$dir/b.db" --customers 2000 --years 1 --seed 7 > /dev/null 2>&1
customers=$(sed -n 's/^customers //p' "$dir/a.out")
lines=$(sed -n 's/^order_lines //p' "$dir/a.out")
[ "$customers" = 2000 ] || { echo "generator reported $customers customers"; exit 1; }
[ "$lines" -ge 160000 ] && [ "$lines" -le 200000 ] || { echo "generator reported $lines order lines for one year"; exit 1; }
q() { sqlite3 "$1" "$2"; }
[ "$(q "$dir/a.db" 'select count(*) from 客户资料')" = "$customers" ] || { echo "customer rows differ"; exit 1; }
[ "$(q "$dir/a.db" 'select count(*) from 产品销售开票')" = "$lines" ] || { echo "order line rows differ"; exit 1; }
orphans=$(q "$dir/a.db" 'select count(*) from 产品销售开票 where 客户编号 not in (select id from 客户资料)')
[ "$orphans" = 0 ] || { echo "$orphans order lines without a customer"; exit 1; }
bad_docs=$(q "$dir/a.db" "select count(*) from 产品销售开票 where length(单据编号)<>12 or substr(单据编号,1,8)<>replace(substr(购物日期,1,10),'-','')")
[ "$bad_docs" = 0 ] || { echo "$bad_docs document numbers do not start with their date"; exit 1; }
totals=$(q "$dir/a.db" 'select count(*) from 客户资料 k where 订水总数量 <> (select coalesce(sum(数量),0) from 产品销售开票 s where s.客户编号=k.id)')
[ "$totals" = 0 ] || { echo "$totals customers whose totals do not match their lines"; exit 1; }
same='select group_concat(客户姓名||联系电话||联系地址) from 客户资料 where id % 97 = 0'
[ "$(q "$dir/a.db" "$same")" = "$(q "$dir/b.db" "$same")" ] || { echo "the same seed gave another station"; exit 1; }
echo "ok: $customers customers, $lines order lines"
