! Prints the reference table of edited output for the listing descriptors I, F and E.
! Each line: kind, value, descriptor, and the edited field between bars.
!   D <16 hex digits of the 64-bit real> <descriptor> |<field>|
!   S <16 hex digits of the 32-bit real widened to 64 bits> <descriptor> |<field>|
!   I <decimal integer> <descriptor> |<field>|
! The D and S lines edit the value as a 64-bit and as a 32-bit real, respectively.
program gen_edit_table
  use, intrinsic :: iso_fortran_env, only: int64, real32, real64
  use, intrinsic :: ieee_arithmetic
  implicit none
  character(len=8), parameter :: rdesc(42) = [character(len=8) :: &
       'F4.0', 'F4.1', 'F4.2', 'F5.1', 'F5.2', 'F5.3', 'F6.0', 'F6.1', 'F6.2', 'F6.3', &
       'F6.4', 'F7.1', 'F7.2', 'F7.3', 'F7.4', 'F8.1', 'F8.2', 'F8.3', 'F8.4', 'F8.5', &
       'F9.1', 'F9.3', 'F9.4', 'F9.5', 'F9.7', 'F10.1', 'F10.2', 'F10.3', 'F10.7', 'F11.6', &
       'F1.0', 'F2.1', 'F3.1', 'F3.2', 'F20.15', 'E10.4', 'E12.5', 'E12.6', 'E13.7', 'E14.7', &
       'E8.1', 'E25.17']
  character(len=8), parameter :: sdesc(10) = [character(len=8) :: &
       'F5.2', 'F6.3', 'F7.1', 'F8.3', 'F9.5', 'F10.7', 'F11.6', 'E12.5', 'E14.7', 'F20.15']
  character(len=8), parameter :: idesc(8) = [character(len=8) :: &
       'I1', 'I2', 'I3', 'I4', 'I5', 'I6', 'I10', 'I20']
  real(real64) :: vals(400), sv(60)
  integer(int64) :: ivals(60)
  integer :: nv, ns, ni, i, j, k, d
  integer(int64) :: seed
  real(real64) :: m, x

  seed = 20050408_int64
  nv = 0
  ! Exact values, binary ties, carries into a new digit, signed zeros.
  call add(0.0_real64); call add(-0.0_real64); call add(1.0_real64); call add(-1.0_real64)
  call add(0.5_real64); call add(-0.5_real64); call add(0.25_real64); call add(0.125_real64)
  call add(-0.125_real64); call add(0.375_real64); call add(0.625_real64); call add(2.5_real64)
  call add(1.5_real64); call add(0.0625_real64); call add(1.03125_real64); call add(-2.5_real64)
  call add(9.5_real64); call add(99.5_real64); call add(999.5_real64); call add(0.05_real64)
  call add(0.005_real64); call add(-0.005_real64); call add(0.0049999_real64); call add(9.995_real64)
  call add(9.9949999_real64); call add(9.96_real64); call add(99.96_real64); call add(-9.96_real64)
  call add(0.999995_real64); call add(0.99999995_real64); call add(-0.0001_real64); call add(1.0e-7_real64)
  call add(5.0e-8_real64); call add(4.9e-8_real64); call add(123.456_real64); call add(-123.456_real64)
  call add(1234.5678_real64); call add(12345.678_real64); call add(-12345.678_real64)
  call add(123456.78_real64); call add(1.0e6_real64); call add(9999999.5_real64)
  call add(1.0e10_real64); call add(-1.0e10_real64); call add(1.0e-10_real64); call add(1.0e99_real64)
  call add(9.99995e99_real64); call add(1.0e100_real64); call add(-1.0e100_real64)
  call add(1.0e-99_real64); call add(1.0e-100_real64); call add(1.0e300_real64)
  call add(1.0e-300_real64); call add(huge(1.0_real64)); call add(-huge(1.0_real64))
  call add(tiny(1.0_real64)); call add(4.9406564584124654e-324_real64)
  call add(3.141592654_real64); call add(-3.141592654_real64); call add(9.8100004196167_real64)
  call add(0.08315_real64); call add(273.15_real64); call add(1.0_real64/3.0_real64)
  call add(2.0_real64/3.0_real64); call add(-2.0_real64/3.0_real64)
  call add(ieee_value(x, ieee_positive_inf)); call add(ieee_value(x, ieee_negative_inf))
  call add(ieee_value(x, ieee_quiet_nan))
  ! Near decimal ties for every number of decimals the listings use.
  do d = 0, 7
    do k = 1, 2
      m = real(mod(next(), 100000), real64)
      call add((m + 0.5_real64) / 10.0_real64**d)
      call add(-(m + 0.5_real64) / 10.0_real64**d)
    end do
  end do
  ! Spread over the magnitudes, both signs.
  do k = -12, 14
    do j = 1, 2
      m = 1.0_real64 + 9.0_real64 * real(next(), real64) / 2147483647.0_real64
      x = m * 10.0_real64**k
      if (mod(next(), 2) == 0) x = -x
      call add(x)
    end do
  end do

  do i = 1, size(rdesc)
    do j = 1, nv
      call put_d(vals(j), trim(rdesc(i)))
    end do
  end do

  ns = 0
  do j = 1, 60
    ns = ns + 1
    sv(ns) = real(real(vals(1 + mod(j * 7, nv)), real32), real64)
  end do
  do i = 1, size(sdesc)
    do j = 1, ns
      call put_s(real(sv(j), real32), trim(sdesc(i)))
    end do
  end do

  ni = 0
  ivals(1:14) = [0_int64, 1_int64, -1_int64, 9_int64, -9_int64, 10_int64, 99_int64, -99_int64, &
                 100_int64, 999_int64, -999_int64, 1000_int64, 99999_int64, -99999_int64]
  ni = 14
  ivals(15:18) = [100000_int64, 2147483647_int64, -2147483647_int64 - 1_int64, huge(1_int64)]
  ni = 18
  do j = 1, 30
    ni = ni + 1
    ivals(ni) = int(next(), int64) / 10_int64**mod(next(), 9)
    if (mod(next(), 2) == 0) ivals(ni) = -ivals(ni)
  end do
  do i = 1, size(idesc)
    do j = 1, ni
      call put_i(ivals(j), trim(idesc(i)))
    end do
  end do

contains

  subroutine add(v)
    real(real64), intent(in) :: v
    nv = nv + 1
    vals(nv) = v
  end subroutine add

  integer function next()
    seed = mod(seed * 48271_int64, 2147483647_int64)
    next = int(seed)
  end function next

  integer function width(desc)
    character(len=*), intent(in) :: desc
    integer :: p
    p = index(desc, '.')
    if (p == 0) p = len(desc) + 1
    read (desc(2:p-1), *) width
  end function width

  subroutine put_d(v, desc)
    real(real64), intent(in) :: v
    character(len=*), intent(in) :: desc
    character(len=64) :: buf
    character(len=16) :: hex
    integer :: w
    w = width(desc)
    write (hex, '(Z16.16)') transfer(v, 0_int64)
    write (buf(1:w), '(' // desc // ')') v
    write (*, '(A)') 'D ' // hex // ' ' // desc // ' |' // buf(1:w) // '|'
  end subroutine put_d

  subroutine put_s(v, desc)
    real(real32), intent(in) :: v
    character(len=*), intent(in) :: desc
    character(len=64) :: buf
    character(len=16) :: hex
    integer :: w
    w = width(desc)
    write (hex, '(Z16.16)') transfer(real(v, real64), 0_int64)
    write (buf(1:w), '(' // desc // ')') v
    write (*, '(A)') 'S ' // hex // ' ' // desc // ' |' // buf(1:w) // '|'
  end subroutine put_s

  subroutine put_i(v, desc)
    integer(int64), intent(in) :: v
    character(len=*), intent(in) :: desc
    character(len=64) :: buf
    character(len=24) :: dec
    integer :: w
    w = width(desc)
    write (dec, '(I0)') v
    write (buf(1:w), '(' // desc // ')') v
    write (*, '(A)') 'I ' // trim(dec) // ' ' // desc // ' |' // buf(1:w) // '|'
  end subroutine put_i

end program gen_edit_table
