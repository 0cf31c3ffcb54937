# Firmware package and transfers arrive here.
