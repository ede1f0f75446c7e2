; Demo firmware for canprog: a small PIC18 program above the bootloader's 512 bytes and the
; module's data EEPROM (parameter block and version text). Assemble with make.sh.
        LIST    P=18F2580
        RADIX   HEX

LATB    EQU     0x0F8A
TRISB   EQU     0x0F93
COUNT   EQU     0x0000

        ORG     0x0200
start:  clrf    TRISB, A        ; port B drives the status lamps
        clrf    LATB, A
blink:  incf    LATB, F, A
        clrf    COUNT, A
delay:  decfsz  COUNT, F, A
        bra     delay
        bra     blink

        ORG     0x1000
table:  DB      "CAN BUS MODULE DEMO FIRMWARE 2.00"
        DB      0x11, 0x12, 0x13, 0x21, 0x22, 0x31, 0x00

; Data EEPROM: the parameter block and, at 0xF0, the version text.
        ORG     0xF00000
        DE      0xFF, 0xFF, 0xFF, 0xFF
        ORG     0xF00021
        DE      0x01                    ; options (1)-(8): sound off
        ORG     0xF00026
        DE      0x01, 0x02, 0x11        ; PIN digits 1 and 3, CAN program 11
        ORG     0xF00061
        DE      0x00                    ; FI mode, no hazard-light sequence
        ORG     0xF00066
        DE      0x03, 0x04              ; PIN digits 2 and 4
        ORG     0xF000F0
        DE      "DEMO 2.00       "
        END
