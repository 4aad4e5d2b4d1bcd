#!/usr/bin/python3
"""Writes the order report fixtures (BIFF8 .xls, as Alimama exports them).

Run from this folder with Debian's python3-xlwt: /usr/bin/python3 make_order_reports.py
With --large PATH it writes only a report of the most rows a sheet holds
(65535 after the header, about 15 MB), which the build makes for the tests
and benchmarks instead of keeping it here.
"""
import sys

import xlwt

HEADER = ["创建时间", "点击时间", "商品信息", "商品ID", "掌柜旺旺", "所属店铺", "商品数", "商品单价",
          "订单状态", "订单类型", "收入比率", "分成比率", "付款金额", "效果预估", "结算金额", "预估收入",
          "结算时间", "佣金比率", "佣金金额", "补贴比率", "补贴金额", "补贴类型", "成交平台", "第三方服务来源",
          "订单编号", "类目名称", "来源媒体ID", "来源媒体名称", "广告位ID", "广告位名称"]

ROWS = [
    # created, title, status, paid (number or text), income, rate, order no, site id/name, adzone id/name
    ("2018-01-05 10:01:02", "夏季新款纯棉短袖T恤", "订单付款", 39.9, 4.79, "12.00 %", "118123456789001",
     "24470011", "小鹿优选", "80460001", "微信群1"),
    ("2018-01-05 11:22:33", "冰丝防晒衣", "订单结算", 59.0, 8.85, "15.00 %", "118123456789002",
     "24470011", "小鹿优选", "80460002", "QQ群2"),
    ("2018-01-05 12:00:00", "无线蓝牙耳机", "订单结算 ", 0.0, 0.0, "20.00 %", "118123456789003",
     "24470011", "小鹿优选", "80460001", "微信群1"),
    ("2018-01-05 13:14:15", "大容量保温杯", "订单失效", "9.90", 1.2, "10.00 %", "118123456789004",
     "24470011", "小鹿优选", "80460001", "微信群1"),
    ("2018-01-05 14:15:16", "加厚毛绒拖鞋", "订单成功", 25, 3, "12.00 %", "118123456789005",
     "24470011", "小鹿优选", "80460003", "微信群3"),
]


def write(path, rows):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Page1")
    for col, name in enumerate(HEADER):
        sheet.write(0, col, name)
    for r, (created, title, status, paid, income, rate, order_no, site_id, site, adzone_id, adzone) in enumerate(rows, 1):
        for col, value in ((0, created), (2, title), (8, status), (12, paid), (13, income), (17, rate),
                           (24, order_no), (26, site_id), (27, site), (28, adzone_id), (29, adzone)):
            sheet.write(r, col, value)
    book.save(path)


def large_rows():
    statuses = ["订单付款", "订单结算", "订单失效", "订单成功"]
    for n in range(1, 65536):
        yield ("2018-01-%02d %02d:%02d:%02d" % (n % 28 + 1, n // 3600 % 24, n // 60 % 60, n % 60),
               "商品 %d 夏季新款纯棉短袖T恤" % n, statuses[n % 4], n % 1000 + 0.5, n % 100 / 10.0, "12.00 %",
               "1181234%08d" % n, "24470011", "小鹿优选", "8046%04d" % (n % 10), "微信群%d" % (n % 10))


if len(sys.argv) == 3 and sys.argv[1] == "--large":
    write(sys.argv[2], large_rows())
else:
    write("order_report.xls", ROWS)
    write("order_report_header_only.xls", [])
