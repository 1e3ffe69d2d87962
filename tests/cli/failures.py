"""What the table-checking test scripts end with: each failure on a line, their count, and the
exit status for CTest."""


def finish(failures):
    for failure in failures:
        print(failure)
    print("%d failures" % len(failures))
    return 1 if failures else 0
