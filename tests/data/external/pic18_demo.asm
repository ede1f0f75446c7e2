; A small PIC18 program for the loader's tests: code above the bootloader's 512 bytes,
; a table near the end of FLASH and data EEPROM contents at 0xF00000.
        LIST    P=18F2580
        RADIX   HEX

LATB    EQU     0x0F8A
TRISB   EQU     0x0F93

        ORG     0x0200
start:  clrf    LATB, A
        movlw   0x5A
        movwf   TRISB, A
loop:   incf    LATB, F, A
        bra     loop

        ORG     0x7FE0
table:  DB      "CAN PROGRAMS 1-3"
        DB      0x11, 0x12, 0x13, 0x00

        ORG     0xF00000
        DE      0x01, 0x00, 0x00, 0x00
        ORG     0xF00021
        DE      0x0B
        ORG     0xF00028
        DE      0x11
        ORG     0xF000F0
        DE      "DEMO 1.00       "
        END
