# Orca reads this from its preferences folder at start.
from orca import debug as _debug
from orca import speech as _speech

# The debug log is read line by line while Orca writes it.
if _debug.debugFile:
    _debug.debugFile.reconfigure(line_buffering=True)

# With no sound device Orca would hang on the speech server after its first
# words; "SPEECH OUTPUT" is logged before the server is asked to speak.
_speech.init = lambda: None
