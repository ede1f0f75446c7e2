#!/usr/bin/env bash
# Makes the HEX files of this folder with tools that nobody here wrote (gputils' gpasm and
# srecord's srec_cat), and the images that srec_cat reads out of them, which the loader's
# tests compare against. Needs: apt-get install gputils srecord
set -euo pipefail
cd "$(dirname "$0")"

# A PIC18 program with EEPROM data at 0xF00000.
gpasm -o pic18_demo.hex pic18_demo.asm
rm -f pic18_demo.cod pic18_demo.lst
srec_cat pic18_demo.hex -intel -crop 0 0x8000 -fill 0xFF 0 0x8000 -o pic18_demo.flash.bin -binary
srec_cat pic18_demo.hex -intel -crop 0xF00000 0xF00100 -offset -0xF00000 -fill 0xFF 0 0x100 \
    -o pic18_demo.eeprom.bin -binary

# A binary placed at 0x0400 and an EEPROM block, converted to Intel HEX with extended linear
# address records.
srec_cat -generate 0x0400 0x1400 -repeat-string "srec_cat payload " \
    -generate 0xF00000 0xF00040 -repeat-data 0xDE 0xAD 0xBE 0xEF \
    -o srec_demo.hex -intel -address-length=4 -output_block_size=16
srec_cat srec_demo.hex -intel -crop 0 0x8000 -fill 0xFF 0 0x8000 -o srec_demo.flash.bin -binary
srec_cat srec_demo.hex -intel -crop 0xF00000 0xF00100 -offset -0xF00000 -fill 0xFF 0 0x100 \
    -o srec_demo.eeprom.bin -binary
