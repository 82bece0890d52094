system cat ~/two0
system ls ~
