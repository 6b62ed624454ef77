; Logging into a log file: Debug setLogFile, then lines that appear both on standard error
; and in the file, which the application reads back.
.include "../common.inc"
.globals 8
.include "../errors.inc"
main:
; Lines logged while a log file is set go to standard error and into the file.
    PUSHSTR "logs/app.log"
    NATIVE Debug.setLogFile
    PUSHSTR "one"
    NATIVE Debug.log
    PUSHSTR "two"
    NATIVE Debug.log
    PUSHSTR ""
    NATIVE Debug.setLogFile
    PUSHSTR "only on standard error"
    NATIVE Debug.log
    global 0
    PUSHSTR "logs/app.log"
    NATIVE FileReader.open
    global 0
    NATIVE FileReader.size
    logint
    global 2
    global 0
    PUSH32 18
    NATIVE InputStream.readBytes
    STORE
    global 2
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    logint
    global 0
    NATIVE InputStream.close
; Setting the same file again starts it empty; the file gets UTF-8.
    PUSHSTR "logs/app.log"
    NATIVE Debug.setLogFile
    PUSHSTR ""
    NATIVE Debug.setLogFile
    global 0
    PUSHSTR "logs/app.log"
    NATIVE FileReader.open
    global 0
    NATIVE FileReader.size
    logint
    global 0
    NATIVE InputStream.close
    PUSHSTR "u.log"
    NATIVE Debug.setLogFile
    PUSHSTR "\u{e9}"
    NATIVE Debug.log
    PUSHSTR ""
    NATIVE Debug.setLogFile
    global 0
    PUSHSTR "u.log"
    NATIVE FileReader.open
    global 0
    NATIVE FileReader.size
    logint
    global 2
    global 0
    PUSH32 8
    NATIVE InputStream.readBytes
    STORE
    global 2
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    logint
    global 2
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    logint
    global 0
    NATIVE InputStream.close
; A path outside the application is refused: nothing is written anywhere.
    PUSHSTR "../escape.log"
    NATIVE Debug.setLogFile
    PUSHSTR "four"
    NATIVE Debug.log
    fails 1
    global 0
    PUSHSTR "../escape.log"
    NATIVE FileReader.open
    failed 1
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
